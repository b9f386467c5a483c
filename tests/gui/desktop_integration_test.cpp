// kdisk and the desktop: the recently-used list, the recent-file menu kept
// between runs, files and file:// URLs passed by the file manager, --help
// and --version, and the MIME types of the installed package.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "gui/shell/command_line.h"
#include "gui/shell/kdisk_app.h"
#include "gui/shell/recent_files.h"
#include "gui/shell/recently_used.h"
#include "settings_store/qt_settings_store.h"
#include "support/gui_fixture.h"
#include "support/image_builder.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

struct Application {
  QString name, exec, count;
};
struct Bookmark {
  QString href, mime;
  QList<Application> apps;
};

// The bookmarks of a list, read independently of the code under test.
QList<Bookmark> ReadXbel(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QXmlStreamReader r(&f);
  QList<Bookmark> out;
  while (!r.atEnd()) {
    if (r.readNext() != QXmlStreamReader::StartElement) continue;
    const QString ns = r.namespaceUri().toString();
    if (r.name() == QLatin1String("bookmark") && ns.isEmpty()) {
      out.append({r.attributes().value("href").toString(), {}, {}});
    } else if (r.name() == QLatin1String("mime-type") && !out.isEmpty()) {
      out.back().mime = r.attributes().value("type").toString();
    } else if (r.name() == QLatin1String("application") &&
               ns == "http://www.freedesktop.org/standards/desktop-bookmarks" && !out.isEmpty()) {
      out.back().apps.append({r.attributes().value("name").toString(), r.attributes().value("exec").toString(),
                              r.attributes().value("count").toString()});
    }
  }
  if (r.hasError()) qWarning("xbel: %s", qPrintable(r.errorString()));
  return r.hasError() ? QList<Bookmark>() : out;
}

RecentUse Use(const QString& path) {
  return {path, KelvoMimeType(path), "Kelvo Disk Utility", "'kdisk %u'", QDateTime::currentDateTimeUtc()};
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
}

const char kOthersList[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\"\n"
    "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
    ">\n"
    "  <bookmark href=\"file:///home/u/notes.txt\" added=\"2026-01-02T10:00:00Z\" "
    "modified=\"2026-01-02T10:00:00Z\" visited=\"2026-01-02T10:00:00Z\">\n"
    "    <info>\n"
    "      <metadata owner=\"http://freedesktop.org\">\n"
    "        <mime:mime-type type=\"text/plain\"/>\n"
    "        <bookmark:groups><bookmark:group>Editors</bookmark:group></bookmark:groups>\n"
    "        <bookmark:applications>\n"
    "          <bookmark:application name=\"Editor\" exec=\"&apos;editor %u&apos;\" "
    "modified=\"2026-01-02T10:00:00Z\" count=\"7\"/>\n"
    "        </bookmark:applications>\n"
    "      </metadata>\n"
    "    </info>\n"
    "  </bookmark>\n"
    "  <bookmark href=\"%1\" added=\"2026-01-03T10:00:00Z\" modified=\"2026-01-03T10:00:00Z\" "
    "visited=\"2026-01-03T10:00:00Z\">\n"
    "    <info>\n"
    "      <metadata owner=\"http://freedesktop.org\">\n"
    "        <mime:mime-type type=\"application/x-kelvo-disk-image\"/>\n"
    "        <bookmark:applications>\n"
    "          <bookmark:application name=\"Hex Viewer\" exec=\"&apos;hexview %u&apos;\" "
    "modified=\"2026-01-03T10:00:00Z\" count=\"2\"/>\n"
    "        </bookmark:applications>\n"
    "      </metadata>\n"
    "    </info>\n"
    "  </bookmark>\n"
    "</xbel>\n";

QMenu* RecentMenu(CMainFrame& frame) {
  for (QAction* top : frame.menuBar()->actions())
    if (top->menu())
      for (QAction* a : top->menu()->actions())
        if (a->menu() && a->text() == QStringLiteral("Recent &Files")) return a->menu();
  return nullptr;
}

QStringList VisibleRecentEntries(CMainFrame& frame) {
  QStringList out;
  for (QAction* entry : RecentMenu(frame)->actions())
    if (entry->isVisible()) out << entry->text();
  return out;
}

}  // namespace

class DesktopIntegrationTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void FirstUseCreatesAPrivateList() {
    QTemporaryDir dir;
    const QString xbel = dir.filePath("share/recently-used.xbel");  // its folder is made too
    const QString file = dir.filePath("My Disk #1.kdi");
    QVERIFY(RecordRecentUse(xbel, Use(file)));
    QCOMPARE(QFileInfo(xbel).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());
    const QList<Bookmark> marks = ReadXbel(xbel);
    QCOMPARE(marks.size(), 1);
    QCOMPARE(QUrl(marks[0].href).toLocalFile(), file);
    QVERIFY(marks[0].href.contains("My%20Disk%20%231.kdi"));
    QCOMPARE(marks[0].mime, QStringLiteral("application/x-kelvo-disk-image"));
    QCOMPARE(marks[0].apps.size(), 1);
    QCOMPARE(marks[0].apps[0].name, QStringLiteral("Kelvo Disk Utility"));
    QCOMPARE(marks[0].apps[0].exec, QStringLiteral("'kdisk %u'"));
    QCOMPARE(marks[0].apps[0].count, QStringLiteral("1"));
    QVERIFY(QDir(dir.filePath("share")).entryList(QDir::Files | QDir::Hidden).size() == 1);  // no temp file left
  }

  void OthersEntriesAreKeptAndOursCountedUp() {
    QTemporaryDir dir;
    const QString xbel = dir.filePath("recently-used.xbel");
    const QString disk = dir.filePath("disk.kdi");
    const QByteArray others = QString::fromLatin1(kOthersList).arg(QUrl::fromLocalFile(disk).toString()).toUtf8();
    Write(xbel, others);
    QFile::setPermissions(xbel, QFile::ReadOwner | QFile::WriteOwner);

    QVERIFY(RecordRecentUse(xbel, Use(disk)));
    QList<Bookmark> marks = ReadXbel(xbel);
    QCOMPARE(marks.size(), 2);
    QCOMPARE(marks[0].href, QStringLiteral("file:///home/u/notes.txt"));
    QCOMPARE(marks[0].apps.size(), 1);
    QCOMPARE(marks[0].apps[0].count, QStringLiteral("7"));
    QCOMPARE(marks[0].apps[0].exec, QStringLiteral("'editor %u'"));
    // The other program's bookmark is copied as it was, group and times too.
    const QByteArray after = ReadAll(xbel);
    QVERIFY(after.contains("<bookmark:groups><bookmark:group>Editors</bookmark:group></bookmark:groups>"));
    QVERIFY(after.contains("href=\"file:///home/u/notes.txt\" added=\"2026-01-02T10:00:00Z\" "
                           "modified=\"2026-01-02T10:00:00Z\" visited=\"2026-01-02T10:00:00Z\""));
    // The file's own bookmark keeps the other application and gains ours.
    QCOMPARE(marks[1].apps.size(), 2);
    QCOMPARE(marks[1].apps[0].name, QStringLiteral("Hex Viewer"));
    QCOMPARE(marks[1].apps[0].count, QStringLiteral("2"));
    QCOMPARE(marks[1].apps[1].name, QStringLiteral("Kelvo Disk Utility"));
    QCOMPARE(marks[1].apps[1].count, QStringLiteral("1"));
    QVERIFY(after.contains("added=\"2026-01-03T10:00:00Z\""));
    QVERIFY(!after.contains("modified=\"2026-01-03T10:00:00Z\" visited"));

    QVERIFY(RecordRecentUse(xbel, Use(disk)));
    marks = ReadXbel(xbel);
    QCOMPARE(marks.size(), 2);
    QCOMPARE(marks[1].apps.size(), 2);
    QCOMPARE(marks[1].apps[1].count, QStringLiteral("2"));
    // A second file is added as a bookmark of its own.
    QVERIFY(RecordRecentUse(xbel, Use(dir.filePath("REPORT.FNT"))));
    marks = ReadXbel(xbel);
    QCOMPARE(marks.size(), 3);
    QCOMPARE(marks[2].mime, QStringLiteral("application/x-kelvo-font"));
    QCOMPARE(QFileInfo(xbel).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
  }

  void ListsThatCannotBeReadOrWrittenAreLeftAlone() {
    QTemporaryDir dir;
    const QString xbel = dir.filePath("recently-used.xbel");
    const QByteArray broken = "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\"><bookmark href=\"file:///a\">";
    Write(xbel, broken);
    QVERIFY(!RecordRecentUse(xbel, Use(dir.filePath("d.kdi"))));
    QCOMPARE(ReadAll(xbel), broken);
    Write(xbel, "<?xml version=\"1.0\"?>\n<html><body/></html>\n");
    QVERIFY(!RecordRecentUse(xbel, Use(dir.filePath("d.kdi"))));
    // A list whose folder cannot be made is not written.
    Write(dir.filePath("file"), "x");
    QVERIFY(!RecordRecentUse(dir.filePath("file/recently-used.xbel"), Use(dir.filePath("d.kdi"))));
  }

  void RecentFilesLastAcrossRunsAndReachTheDesktopList() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QVERIFY(MakeImage(dir.filePath("one.kdi"), {{"A", "", "JSL", 1}}));
    QVERIFY(MakeImage(dir.filePath("two.kdi"), {}));
    const QString ini = dir.filePath("settings.ini");
    const QString xbel = dir.filePath("recently-used.xbel");
    {
      KdiskRun run(ini);
      // The file manager passes a path and a file:// URL.
      const CommandLine cmd = ParseCommandLine(
          {"kdisk", dir.filePath("one.kdi"), QUrl::fromLocalFile(dir.filePath("two.kdi")).toString()});
      QVERIFY(cmd.ok);
      QVERIFY(run.Start(dir.path(), cmd, false, xbel));
      QCOMPARE(run.frame->Recent().Files(), (QStringList{dir.filePath("two.kdi"), dir.filePath("one.kdi")}));
      QVERIFY(run.ui.asks.empty());
      run.End();
    }
    QSettings written(ini, QSettings::IniFormat);
    QCOMPARE(written.value("Settings/Recent File 1").toString(), dir.filePath("two.kdi"));
    QCOMPARE(ReadXbel(xbel).size(), 2);

    QVERIFY(QFile::remove(dir.filePath("two.kdi")));
    KdiskRun run(ini);
    QVERIFY(run.Start(dir.path(), {}, false));
    CMainFrame* frame = run.frame.get();
    kelvo::test::ScriptedInteraction& ui = run.ui;
    QCOMPARE(frame->Recent().Files(), (QStringList{dir.filePath("two.kdi"), dir.filePath("one.kdi")}));
    QCOMPARE(VisibleRecentEntries(*frame),
             (QStringList{"&1 " + dir.filePath("two.kdi"), "&2 " + dir.filePath("one.kdi")}));
    // Choosing the file that is gone reports it and drops it from the list.
    ui.answers.push_back(kelvo::Button::Ok);
    QAction* first = RecentMenu(*frame)->actions().value(0);
    QVERIFY(first);
    first->trigger();
    QCOMPARE(ui.asks.size(), size_t{1});
    QCOMPARE(frame->Recent().Files(), QStringList{dir.filePath("one.kdi")});
    QCOMPARE(VisibleRecentEntries(*frame), QStringList{"&1 " + dir.filePath("one.kdi")});
    run.End();
    QSettings again(ini, QSettings::IniFormat);
    QCOMPARE(again.value("Settings/Recent File 1").toString(), dir.filePath("one.kdi"));
    QCOMPARE(again.value("Settings/Recent File 2").toString(), QString());
  }

  void RecentListReadsWhatTheStoreHolds() {
    kelvo::CMemoryKeyValueStore store;
    store.SetString("Recent File 1", "/a.kdi");
    store.SetString("Recent File 2", "");
    store.SetString("Recent File 3", "/a.kdi");
    store.SetString("Recent File 4", "/b.kdi");
    store.SetString("Recent File 5", "/c.kdi");
    QCOMPARE(LoadRecentFileList(store), (QStringList{"/a.kdi", "/b.kdi"}));
    SaveRecentFileList({"/x.kdi"}, store);
    QCOMPARE(LoadRecentFileList(store), QStringList{"/x.kdi"});
  }

  void CommandLineTakesUrlsHelpAndVersion() {
    CommandLine c = ParseCommandLine({"/usr/bin/kdisk", "file:///tmp/a%20b.kdi", "plain.kdi",
                                      "sftp://host/c.kdi"});
    QVERIFY(c.ok);
    QCOMPARE(c.files, (QStringList{"/tmp/a b.kdi", "plain.kdi", "sftp://host/c.kdi"}));
    c = ParseCommandLine({"/usr/bin/kdisk", "--help"});
    QVERIFY(c.show_help);
    QVERIFY(c.help_text.startsWith("Usage: kdisk [options]"));
    QVERIFY(c.help_text.contains("--tape3 <DEVICE>"));
    QVERIFY(ParseCommandLine({"kdisk", "--version"}).show_version);
    QVERIFY(!ParseCommandLine({"kdisk", "--bogus"}).ok);
  }

  void MimeTypesAgreeWithTheInstalledPackage() {
    QFile xml(QStringLiteral(KDU_SOURCE_DIR "/packaging/kelvo-disk-utility.xml"));
    QVERIFY(xml.open(QIODevice::ReadOnly));
    QXmlStreamReader r(&xml);
    QString type;
    QSet<QString> declared;
    int globs = 0;
    while (!r.atEnd()) {
      if (r.readNext() != QXmlStreamReader::StartElement) continue;
      if (r.name() == QLatin1String("mime-type")) type = r.attributes().value("type").toString();
      if (r.name() != QLatin1String("glob")) continue;
      const QString ext = r.attributes().value("pattern").toString().mid(1);  // "*.kdi" -> ".kdi"
      QCOMPARE(KelvoMimeType("DIR/NAME" + ext.toUpper()), type);
      declared << type;
      ++globs;
    }
    QVERIFY(!r.hasError());
    QCOMPARE(globs, 8);
    QCOMPARE(KelvoMimeType("notes.txt"), QString());
    // The desktop entry opens exactly the declared types.
    const QString desktop = QString::fromUtf8(ReadAll(KDU_SOURCE_DIR "/packaging/kdisk.desktop"));
    const QRegularExpressionMatch m = QRegularExpression("^MimeType=(.*)$", QRegularExpression::MultilineOption).match(desktop);
    QVERIFY(m.hasMatch());
    const QStringList listed = m.captured(1).split(';', Qt::SkipEmptyParts);
    QCOMPARE(QSet<QString>(listed.begin(), listed.end()), declared);
  }
};

QTEST_MAIN(DesktopIntegrationTest)
#include "desktop_integration_test.moc"
