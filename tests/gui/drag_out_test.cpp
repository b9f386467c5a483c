// Dragging files out to the desktop's file manager (text/uri-list beside the
// "KelvoFileList" block, printer files exported into a private folder when
// the list is asked for), file manager drops into image windows, and the
// archivists' floppy images in the Open dialog and on the command line.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

#include "gui/windows/disk_image_window.h"
#include "gui/shell/document_types.h"
#include "gui/shell/drag_export.h"
#include "gui/shell/drag_payload.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/viewers/viewer_windows.h"
#include "support/gui_fixture.h"
#include "support/image_builder.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

void WriteText(const QString& path, const QByteArray& text) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) qFatal("cannot write %s", qPrintable(path));
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList DragFolders(const QString& base) {
  return QDir(base).entryList({"kdisk-drag-*"}, QDir::Dirs | QDir::NoDotAndDotDot);
}

// An image holding JOB.JSL, stored from PC text by a drop from the PC window.
struct ImageWithSource {
  QTemporaryDir dir;
  QTemporaryDir runtime;  // stands in for $XDG_RUNTIME_DIR
  Shell shell;
  CPcExplorerWindow* pc = nullptr;
  CDiskImageWindow* image = nullptr;

  bool Make() {
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    WriteText(dir.filePath("JOB.JSL"), "FIRST LINE\r\nSECOND LINE\r\n");
    if (!MakeImage(dir.filePath("d.kdi"), {{"FON", "T", "FNT", 2}})) return false;
    pc = shell.Start(dir.path());
    image = OpenImage(shell, dir.filePath("d.kdi"));
    if (!pc || !image) return false;
    pc->ListView()->SelectNames({"JOB.JSL"});
    std::unique_ptr<QMimeData> data(pc->ListView()->make_drag_data());
    shell.frame->HandleDrop(image, data.get());
    return Names(image).contains("Job.jsl") && shell.ui.asks.empty();
  }
};

}  // namespace

class DragOutTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void ImageFilesAreExportedOnlyWhenTheUrlsAreAskedFor() {
    ImageWithSource s;
    QVERIFY(s.Make());
    s.image->ListView()->SelectAll();
    std::unique_ptr<QMimeData> data(s.image->ListView()->make_drag_data());
    QVERIFY(data);
    QVERIFY(data->hasFormat(kFileListMimeType));
    QVERIFY(data->hasUrls());
    QVERIFY(data->formats().contains("text/uri-list"));
    // Nothing is exported while the drag only offers its formats.
    QVERIFY(DragFolders(s.runtime.path()).isEmpty());

    const QList<QUrl> urls = data->urls();
    QCOMPARE(urls.size(), 2);
    const QStringList folders = DragFolders(s.runtime.path());
    QCOMPARE(folders.size(), 1);
    const QString folder = QDir(s.runtime.path()).filePath(folders[0]);
    // The folder is private to the user.
    QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    QStringList names;
    for (const QUrl& u : urls) {
      QVERIFY(u.isLocalFile());
      QCOMPARE(QFileInfo(u.toLocalFile()).absolutePath(), folder);
      names << QFileInfo(u.toLocalFile()).fileName();
    }
    QCOMPARE(names, (QStringList{"Font.fnt", "Job.jsl"}));
    QCOMPARE(QFileInfo(urls[0].toLocalFile()).size(), 1024);  // binary: its blocks as they are
    // A source file arrives as PC text, records of 80 characters and CR LF.
    const QByteArray text = ReadAll(urls[1].toLocalFile());
    const QList<QByteArray> lines = text.split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith("FIRST LINE "));
    QCOMPARE(lines[0].size(), 81);
    QVERIFY(lines[0].endsWith("000010\r"));
    QVERIFY(lines[1].startsWith("SECOND LINE "));
    QVERIFY(lines[2].isEmpty());

    // Asked again (a receiver reads the list more than once), nothing is
    // exported a second time; the raw list is the URLs, CR LF after each.
    QCOMPARE(data->urls(), urls);
    QCOMPARE(DragFolders(s.runtime.path()).size(), 1);
    QCOMPARE(data->data("text/uri-list"), urls[0].toEncoded() + "\r\n" + urls[1].toEncoded() + "\r\n");
    QVERIFY(s.shell.ui.asks.empty());

    // The folders go when the program ends.
    s.shell.frame.reset();
    QVERIFY(DragFolders(s.runtime.path()).isEmpty());
  }

  void RetainedFormatExportsTheRecords() {
    ImageWithSource s;
    QVERIFY(s.Make());
    s.shell.ctx.settings.RetainPrinterFormat = 1;
    s.image->ListView()->SelectNames({"Job.jsl"});
    std::unique_ptr<QMimeData> data(s.image->ListView()->make_drag_data());
    const QList<QUrl> urls = data->urls();
    QCOMPARE(urls.size(), 1);
    const QByteArray records = ReadAll(urls[0].toLocalFile());
    // The two records as they are stored: 80 bytes each, no line ends.
    QCOMPARE(records.size(), 160);
    QVERIFY(records.startsWith("FIRST LINE "));
    QCOMPARE(records.mid(74, 6), QByteArray("000010"));
    QVERIFY(records.mid(80).startsWith("SECOND LINE "));
    QVERIFY(!records.contains('\n'));
  }

  void DropsInsideTheProgramUseTheBlockAndExportNothing() {
    ImageWithSource s;
    QVERIFY(s.Make());
    s.image->ListView()->SelectNames({"Job.jsl"});
    std::unique_ptr<QMimeData> data(s.image->ListView()->make_drag_data());
    QDir(s.dir.path()).remove("JOB.JSL");
    s.shell.frame->HandleDrop(s.pc, data.get());
    QVERIFY(s.shell.ui.asks.empty());
    QVERIFY(QFileInfo::exists(s.dir.filePath("Job.jsl")));
    QVERIFY(DragFolders(s.runtime.path()).isEmpty());
  }

  void PcFilesOfferThemselves() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"A.FNT", "B.JSL"});
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    pc->ListView()->SelectAll();
    std::unique_ptr<QMimeData> data(pc->ListView()->make_drag_data());
    QCOMPARE(data->urls(), (QList<QUrl>{QUrl::fromLocalFile(dir.filePath("A.FNT")),
                                        QUrl::fromLocalFile(dir.filePath("B.JSL"))}));
  }

  void ExportFoldersAreRemovedOnceTheyAreOld() {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    CDragExportFolders folders(std::chrono::seconds(0));
    const QString first = folders.NewFolder();
    QVERIFY(QFileInfo(first).isDir());
    const QString second = folders.NewFolder();
    QVERIFY(QFileInfo(second).isDir());
    QVERIFY(!QFileInfo::exists(first));
    QCOMPARE(folders.Count(), 1);
    // Without a usable runtime folder the temporary folder is used.
    qputenv("XDG_RUNTIME_DIR", runtime.filePath("missing").toLocal8Bit());
    QCOMPARE(CDragExportFolders::BaseFolder(), QDir::tempPath());
  }

  void FileManagerDropsOfSeveralFoldersStoreTheFirstFoldersFiles() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    WriteText(dir.filePath("ONE.JSL"), "ONE\r\n");
    WriteText(dir.filePath("TWO.FNT"), QByteArray(600, 'f'));
    WriteText(dir.filePath("sub/OTHER.JSL"), "OTHER\r\n");
    QVERIFY(MakeImage(dir.filePath("d.kdi"), {}));
    Shell shell;
    shell.Start(dir.path());
    CDiskImageWindow* image = OpenImage(shell, dir.filePath("d.kdi"));
    QMimeData from_desktop;
    // Only local files of one folder travel in one transfer; a folder, a
    // remote URL and a missing file are passed over.
    from_desktop.setUrls({QUrl::fromLocalFile(dir.filePath("ONE.JSL")), QUrl("https://example.invalid/X.JSL"),
                          QUrl::fromLocalFile(dir.filePath("sub")), QUrl::fromLocalFile(dir.filePath("sub/OTHER.JSL")),
                          QUrl::fromLocalFile(dir.filePath("GONE.JSL")), QUrl::fromLocalFile(dir.filePath("TWO.FNT"))});
    shell.frame->HandleDrop(image, &from_desktop);
    QVERIFY(shell.ui.asks.empty());
    QCOMPARE(Names(image), (QStringList{"Two.fnt", "One.jsl"}));  // directory order: FNT first
    QVERIFY(image->Modified());
  }

  void OpenDialogOffersTheArchivistsImages() {
    const QStringList filters = OpenDialogFilters();
    QCOMPARE(filters.size(), 10);
    QCOMPARE(filters.first(), QStringLiteral("Disk Images (*.KDI *.kdi)"));
    QCOMPARE(FloppyImageFilterIndex(), 8);
    for (const char* pattern : {"*.img", "*.ima", "*.dsk", "*.imd", "*.IMA"})
      QVERIFY2(filters[8].contains(QLatin1String(pattern)), pattern);
    QCOMPARE(filters.last(), QStringLiteral("All Files (*)"));
  }

  void RawFloppyImagesOpenAsDiskImages() {
    QTemporaryDir dir;
    QVERIFY(MakeImage(dir.filePath("d.kdi"), {{"REP", "ORT", "FNT", 2}}));
    // A raw image of 80 cylinders of 9 sectors: the file system and zeros.
    QByteArray raw = ReadAll(dir.filePath("d.kdi"));
    raw.append(QByteArray(737280 - raw.size(), '\0'));
    for (const char* name : {"disk.img", "DISK.IMA", "disk.dsk"}) WriteText(dir.filePath(name), raw);
    // A printer image file with an ".img" name stays an image for the viewer.
    WriteText(dir.filePath("logo.img"), QByteArray(600, '\x71'));
    QVERIFY(OpensAsDiskImage(dir.filePath("d.kdi")));
    QVERIFY(OpensAsDiskImage(dir.filePath("disk.img")));
    QVERIFY(!OpensAsDiskImage(dir.filePath("logo.img")));
    QVERIFY(!OpensAsDiskImage(dir.filePath("missing.img")));
    QVERIFY(OpensAsDiskImage(dir.filePath("missing.imd")));  // by its name: opening it reports the error

    Shell shell;
    shell.Start(dir.path());
    for (const char* name : {"disk.img", "DISK.IMA", "disk.dsk"}) {
      CDiskImageWindow* image = OpenImage(shell, dir.filePath(name));
      QVERIFY2(image, name);
      QCOMPARE(Names(image), QStringList{"Report.fnt"});
    }
    QVERIFY(shell.ui.asks.empty());
    // A damaged archive is refused with the image error, not shown as a picture.
    WriteText(dir.filePath("bad.imd"), "IMD 1.18: broken");
    QVERIFY(!shell.frame->OpenDocument(dir.filePath("bad.imd")));
    QCOMPARE(shell.ui.asks.size(), size_t{1});
  }
};

QTEST_MAIN(DragOutTest)
#include "drag_out_test.moc"
