// The main window's shell: the enabling rule and the menus, start-up and
// settings, the device bar, the command line and the recent-file lists.
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QSettings>
#include <QStatusBar>
#include <QToolButton>
#include <QXmlStreamReader>

#include "gui/shell/command_line.h"
#include "gui/shell/commands.h"
#include "gui/shell/recent_files.h"
#include "gui/shell/recently_used.h"
#include "gui/windows/device_bar.h"
#include "gui/windows/pc_explorer_window.h"
#include "support/gui_fixture.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;
using kelvo::PlaceKind;

namespace {

struct Bookmark {
  QString href, mime;
  QStringList apps;  // "name exec count"
};

// The bookmarks of a list, read independently of the code under test.
QList<Bookmark> ReadXbel(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QXmlStreamReader r(&f);
  QList<Bookmark> out;
  while (!r.atEnd()) {
    if (r.readNext() != QXmlStreamReader::StartElement) continue;
    const auto a = r.attributes();
    if (r.name() == QLatin1String("bookmark") && r.namespaceUri().isEmpty())
      out.append({a.value("href").toString(), {}, {}});
    else if (r.name() == QLatin1String("mime-type") && !out.isEmpty())
      out.back().mime = a.value("type").toString();
    else if (r.name() == QLatin1String("application") && !out.isEmpty())
      out.back().apps << a.value("name").toString() + " " + a.value("exec").toString() + " " + a.value("count").toString();
  }
  return r.hasError() ? QList<Bookmark>() : out;
}

RecentUse Use(const QString& path) {
  return {path, KelvoMimeType(path), "Kelvo Disk Utility", "'kdisk %u'", QDateTime::currentDateTimeUtc()};
}

// Another program's list: its own bookmark, and one of our disk (%1) that
// another application opened.
const char kOthersList[] =
    "<?xml version='1.0' encoding='UTF-8'?>\n<xbel version='1.0' xmlns:bookmark='http://www.freedesktop.org/standards/desktop-bookmarks' "
    "xmlns:mime='http://www.freedesktop.org/standards/shared-mime-info'>\n"
    "<bookmark href='file:///home/u/notes.txt' added='2026-01-02T10:00:00Z'><info><metadata owner='http://freedesktop.org'>"
    "<mime:mime-type type='text/plain'/><bookmark:groups><bookmark:group>Editors</bookmark:group></bookmark:groups>"
    "<bookmark:applications><bookmark:application name='Editor' exec='&apos;editor %u&apos;' count='7'/></bookmark:applications>"
    "</metadata></info></bookmark>\n"
    "<bookmark href='%1' added='2026-01-03T10:00:00Z'><info><metadata owner='http://freedesktop.org'>"
    "<mime:mime-type type='application/x-kelvo-disk-image'/><bookmark:applications>"
    "<bookmark:application name='Hex' exec='&apos;hex %u&apos;' count='2'/></bookmark:applications></metadata></info></bookmark>\n"
    "</xbel>\n";

QMenu* RecentMenu(CMainFrame& frame) {
  for (QAction* top : frame.menuBar()->actions())
    if (top->menu())
      for (QAction* a : top->menu()->actions())
        if (a->menu() && a->text() == QStringLiteral("Recent &Files")) return a->menu();
  return nullptr;
}

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void initTestCase() { start_ = QDir::currentPath(); }
  void cleanup() { QCOMPARE(QDir::currentPath(), start_); }  // the working folder is put back

  // The rows the window tests do not reach through the menus.
  void EnablingRule() {
    CommandContext unprintable, floppy, tape_busy;
    unprintable.explorer_kind = PlaceKind::Tape;
    unprintable.list_printable = false;
    floppy.explorer_kind = PlaceKind::Floppy;
    tape_busy.tape_present = tape_busy.tape_busy = true;
    const std::tuple<Cmd, CommandContext, bool> rows[] = {
        {Cmd::Print, unprintable, false}, {Cmd::SaveFileList, unprintable, true}, {Cmd::SaveAs, floppy, false},
        {Cmd::CopyDisk, {}, true},        {Cmd::RetainTapeLabels, tape_busy, true},
    };
    for (const auto& [cmd, ctx, enabled] : rows) QVERIFY2(IsCommandEnabled(cmd, ctx) == enabled, qPrintable(QString::number(int(cmd))));
  }

  void MenusFollowTheActiveWindowAndTheSelection() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"A.JSL", "B.JSL"}, 100);
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    CMainFrame& f = *shell.frame;
    pc->ListView()->SelectAll();
    f.OnIdle();
    QVERIFY(f.Action(Cmd::Delete)->isEnabled());
    QVERIFY(!f.Action(Cmd::Properties)->isEnabled());
    QVERIFY(!f.Action(Cmd::TapeList)->isEnabled());  // no tape drive
    bool summary = false;
    for (QLabel* l : f.statusBar()->findChildren<QLabel*>())
      summary = summary || l->text().startsWith(QStringLiteral("2 file(s) selected ("));
    QVERIFY(summary);
    // Closing is refused while an operation runs.
    pc->SetBusy(true);
    QVERIFY(!f.close());
    QCOMPARE(shell.ui.beeps.size(), size_t{1});
    pc->SetBusy(false);
    f.MdiArea()->closeAllSubWindows();
    f.OnIdle();
    QVERIFY(!f.Action(Cmd::Delete)->isEnabled());
    QVERIFY(f.Action(Cmd::Open)->isEnabled());
    QVERIFY(f.close());
  }

  // Two runs on one settings file: the first, started as the file manager
  // starts it, leaves its placement, recent files and the desktop's list
  // for the second; the drives given on the command line last one run only.
  void SettingsAndRecentFilesLastFromOneRunToTheNext() {
    QTemporaryDir dir;
    KeepWorkingFolder keep;
    QDir::setCurrent(dir.path());
    MakeFiles(dir.path(), {"t.tap"}, 0);
    QVERIFY(MakeImage(dir.filePath("one.kdi"), {{"A", "", "JSL", 1}}));
    QVERIFY(MakeImage(dir.filePath("two.kdi"), {}));
    const QString ini = dir.filePath("settings.ini");
    const QString xbel = dir.filePath("recently-used.xbel");
    const QStringList recent{dir.filePath("two.kdi"), dir.filePath("one.kdi")};
    {
      KdiskRun run(ini);
      const CommandLine cmd = ParseCommandLine({"kdisk", "--drive-a", "emu:" + dir.filePath("a.img") + ",form=5.25", "--tape1", dir.filePath("t.tap"),
                                                dir.filePath("one.kdi"), QUrl::fromLocalFile(dir.filePath("two.kdi")).toString()});
      QVERIFY(cmd.ok && !ParseCommandLine({"kdisk", "--bogus"}).ok && !ParseCommandLine({"kdisk", "--drive-a"}).ok);
      QVERIFY(run.Start(dir.path(), cmd, true, xbel));
      QVERIFY(QTest::qWaitForWindowExposed(run.frame.get()));
      QCOMPARE(run.frame->DeviceBar()->Buttons().size(), 2);
      QVERIFY(run.frame->DeviceBar()->Buttons()[0]->acceptDrops() && !run.frame->Devices()[0].three_and_half);
      run.frame->OnIdle();
      QVERIFY(run.frame->Action(Cmd::TapeList)->isEnabled());
      QCOMPARE(QDir(run.frame->Windows().PcExplorer()->PlaceText()).canonicalPath(), QDir(dir.path()).canonicalPath());
      QCOMPARE(run.frame->Recent().Files(), recent);
      run.frame->setGeometry(150, 100, 640, 480);
      QTRY_COMPARE(run.ctx.settings.MainWindowWidth, 640);
      run.frame->showMaximized();
      QTRY_VERIFY(run.ctx.settings.Maximized);
      QCOMPARE(run.ctx.settings.MainWindowWidth, 640);  // the normal rectangle is kept
      run.frame->showNormal();
      QTRY_VERIFY(!run.ctx.settings.Maximized);
      run.End();
    }
    QCOMPARE(ReadXbel(xbel).size(), 2);
    QSettings written(ini, QSettings::IniFormat);
    QCOMPARE(written.value("Settings/Main Window Left").toInt(), 150);
    QVERIFY(!written.value("Settings/Floppy A Device").toString().startsWith("emu:"));  // one run only

    QVERIFY(QFile::remove(dir.filePath("two.kdi")));
    KdiskRun run(ini);
    QVERIFY(run.Start(dir.path()));
    QCOMPARE(run.frame->geometry(), QRect(150, 100, 640, 480));
    QVERIFY(run.frame->DeviceBar()->Buttons().isEmpty());
    // No floppy driver and no floppy device bound: no warning.
    QVERIFY(run.ui.asks.empty());
    QCOMPARE(run.frame->Recent().Files(), recent);
    // Choosing the file that is gone reports it and drops it from the menu.
    RecentMenu(*run.frame)->actions().value(0)->trigger();
    QCOMPARE(run.ui.asks.size(), size_t{1});
    QStringList visible;
    for (QAction* entry : RecentMenu(*run.frame)->actions())
      if (entry->isVisible()) visible << entry->text();
    QCOMPARE(visible, QStringList{"&1 " + dir.filePath("one.kdi")});
    run.End();
    QCOMPARE(QSettings(ini, QSettings::IniFormat).value("Settings/Recent File 2").toString(), QString());
    // The stored list skips blanks and repeats.
    kelvo::CMemoryKeyValueStore store;
    const char* stored[] = {"/a.kdi", "", "/a.kdi", "/b.kdi"};
    for (int i = 0; i < 4; ++i) store.SetString("Recent File " + std::to_string(i + 1), stored[i]);
    QCOMPARE(LoadRecentFileList(store), (QStringList{"/a.kdi", "/b.kdi"}));
  }

  void DesktopListKeepsOthersEntriesAndIsPrivate() {
    QTemporaryDir dir;
    const QString fresh = dir.filePath("share/recently-used.xbel");  // its folder is made too
    QVERIFY(RecordRecentUse(fresh, Use(dir.filePath("My Disk #1.kdi"))));
    QCOMPARE(QFileInfo(fresh).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    QList<Bookmark> marks = ReadXbel(fresh);
    QCOMPARE(marks.size(), 1);
    QCOMPARE(QUrl(marks[0].href).toLocalFile(), dir.filePath("My Disk #1.kdi"));

    const QString xbel = dir.filePath("recently-used.xbel");
    const QString disk = dir.filePath("disk.kdi");
    WriteFile(dir.path(), "recently-used.xbel", QString::fromLatin1(kOthersList).arg(QUrl::fromLocalFile(disk).toString()).toUtf8());
    QVERIFY(RecordRecentUse(xbel, Use(disk)));
    QVERIFY(RecordRecentUse(xbel, Use(disk)));
    marks = ReadXbel(xbel);
    QCOMPARE(marks.size(), 2);
    QCOMPARE(marks[0].apps, QStringList{"Editor 'editor %u' 7"});
    QCOMPARE(marks[1].apps, (QStringList{"Hex 'hex %u' 2", "Kelvo Disk Utility 'kdisk %u' 2"}));
    QVERIFY(ReadAll(xbel).contains("<bookmark:groups><bookmark:group>Editors</bookmark:group></bookmark:groups>"));

    // Lists that cannot be read, and folders that cannot be made, are left alone.
    const QByteArray broken = "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\"><bookmark href=\"file:///a\">";
    WriteFile(dir.path(), "broken.xbel", broken);
    QVERIFY(!RecordRecentUse(dir.filePath("broken.xbel"), Use(disk)));
    QCOMPARE(ReadAll(dir.filePath("broken.xbel")), broken);
    QVERIFY(!RecordRecentUse(dir.filePath("broken.xbel/recently-used.xbel"), Use(disk)));
  }

  void MimeTypesAgreeWithTheInstalledPackage() {
    QFile xml(QStringLiteral(KDU_SOURCE_DIR "/packaging/kelvo-disk-utility.xml"));
    QVERIFY(xml.open(QIODevice::ReadOnly));
    QXmlStreamReader r(&xml);
    QString type;
    int globs = 0;
    while (!r.atEnd()) {
      if (r.readNext() != QXmlStreamReader::StartElement) continue;
      if (r.name() == QLatin1String("mime-type")) type = r.attributes().value("type").toString();
      if (r.name() != QLatin1String("glob")) continue;
      const QString ext = r.attributes().value("pattern").toString().mid(1);  // "*.kdi" -> ".kdi"
      QCOMPARE(KelvoMimeType("DIR/NAME" + ext.toUpper()), type);
      ++globs;
    }
    QCOMPARE(globs, 8);
    QCOMPARE(KelvoMimeType("notes.txt"), QString());
  }

 private:
  QString start_;
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
