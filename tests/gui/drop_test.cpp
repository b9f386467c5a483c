// Drops and drags between windows, device buttons and the desktop's file
// manager, and raw floppy images opened as disk images.
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>

#include "gui/dialogs/copy_files_dialog.h"
#include "gui/shell/document_types.h"
#include "gui/shell/drag_export.h"
#include "gui/shell/drag_payload.h"
#include "gui/windows/disk_image_window.h"
#include "gui/windows/pc_explorer_window.h"
#include "support/gui_fixture.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

QStringList DragFolders(const QString& base) {
  return QDir(base).entryList({"kdisk-drag-*"}, QDir::Dirs | QDir::NoDotAndDotDot);
}

// A PC window on a fresh folder and an image window on dir/d.kdi holding
// `files`; the drag export folders go under a runtime folder of its own.
struct Desk {
  QTemporaryDir dir;
  QTemporaryDir runtime;  // stands in for $XDG_RUNTIME_DIR
  std::unique_ptr<Shell> shell;
  CPcExplorerWindow* pc = nullptr;
  CDiskImageWindow* image = nullptr;

  explicit Desk(const std::vector<ImageFile>& files) {
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    if (!MakeImage(dir.filePath("d.kdi"), files)) return;
    shell = std::make_unique<Shell>();
    pc = shell->Start(dir.path());
    image = OpenImage(*shell, dir.filePath("d.kdi"));
  }
  bool Ok() const { return pc && image; }
  std::vector<std::string> Asked() const { return shell->ui.Texts(); }
};

}  // namespace

class DropTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void FilesGoBetweenPcAndImageAndTheImageIsListedAgain() {
    Desk d({{"A", "", "JSL", 1}, {"B", "", "JSL", 2}});
    QVERIFY(d.Ok());
    // Drops the transfer table refuses: on the window the drag came from,
    // PC to PC (also from a file manager), a stale window reference.
    MakeFiles(d.dir.path(), {"A.JSL"});
    d.pc->Relist();
    d.shell->frame->HandleDrop(d.image, DragFrom(d.image, {"A.jsl"}).get());
    QMimeData from_desktop;
    from_desktop.setUrls({QUrl::fromLocalFile(d.dir.filePath("A.JSL"))});
    d.shell->frame->HandleDrop(d.pc, &from_desktop);
    QMimeData stale;
    stale.setData(kFileListMimeType, EncodeFileList({0, 1, quintptr{0x1234}}));
    d.shell->frame->HandleDrop(d.image, &stale);
    QVERIFY(d.Asked().empty());
    QCOMPARE(Names(d.image), (QStringList{"A.jsl", "B.jsl"}));
    // PC files go into the image.
    WriteFile(d.dir.path(), "NEW.JSL", QByteArray(700, 'n'));
    d.pc->Relist();
    auto data = DragFrom(d.pc, {"NEW.JSL"});
    d.shell->frame->HandleDrop(d.image, data.get());
    d.shell->frame->HandleDrop(d.image, data.get());  // again: the file is replaced
    QCOMPARE(Names(d.image), (QStringList{"A.jsl", "B.jsl", "New.jsl"}));
    QVERIFY(d.image->Modified());
    QVERIFY(d.Asked().empty());
    // A second image of the same name is another place.
    QVERIFY(QDir(d.dir.path()).mkpath("two") && MakeImage(d.dir.filePath("two/d.kdi"), {{"B", "", "JSL", 1}}));
    CDiskImageWindow* second = OpenImage(*d.shell, d.dir.filePath("two/d.kdi"));
    QVERIFY(second && second != d.image);
    d.shell->frame->HandleDrop(second, DragFrom(d.pc, {"NEW.JSL"}).get());
    QCOMPARE(Names(second), (QStringList{"B.jsl", "New.jsl"}));
    QCOMPARE(Names(d.image).size(), 3);
    // From the desktop's file manager only local files of one folder travel
    // in one transfer; a folder, a remote URL and a missing file are passed over.
    Desk e({});
    QVERIFY(e.Ok() && QDir(e.dir.path()).mkdir("sub"));
    WriteFile(e.dir.path(), "ONE.JSL", "ONE\r\n");
    WriteFile(e.dir.path(), "TWO.FNT", QByteArray(600, 'f'));
    WriteFile(e.dir.path(), "sub/OTHER.JSL", "OTHER\r\n");
    QMimeData several;
    several.setUrls({QUrl::fromLocalFile(e.dir.filePath("ONE.JSL")), QUrl("https://example.invalid/X.JSL"),
                     QUrl::fromLocalFile(e.dir.filePath("sub")), QUrl::fromLocalFile(e.dir.filePath("sub/OTHER.JSL")),
                     QUrl::fromLocalFile(e.dir.filePath("GONE.JSL")), QUrl::fromLocalFile(e.dir.filePath("TWO.FNT"))});
    e.shell->frame->HandleDrop(e.image, &several);
    QVERIFY(e.Asked().empty());
    QCOMPARE(Names(e.image), (QStringList{"Two.fnt", "One.jsl"}));  // directory order: FNT first
    // A file gone before it is read fails once; what was stored is listed.
    MakeFiles(e.dir.path(), {"AAA.JSL", "ZZZ.JSL"});
    e.pc->Relist();
    auto both = DragFrom(e.pc, {"AAA.JSL", "ZZZ.JSL"});
    e.shell->ctx.SetTransferSelection({"AAA.JSL", "ZZZ.JSL"});  // in this order, whatever the list's
    QVERIFY(QFile::remove(e.dir.filePath("ZZZ.JSL")));
    e.shell->frame->HandleDrop(e.image, both.get());
    QCOMPARE(e.shell->ui.asks.size(), size_t{1});
    QVERIFY(Names(e.image).size() == 3 && Names(e.image).contains("Aaa.jsl"));
  }

  void WindowsOfARunningTransferRefuseToClose() {
    Desk d({{"A", "", "JSL", 1}, {"B", "", "JSL", 1}});
    QVERIFY(d.Ok());
    QPointer<CDiskImageWindow> image = d.image;
    QPointer<CPcExplorerWindow> pc = d.pc;
    auto data = DragFrom(d.image, {"A.jsl", "B.jsl"});
    // Between the two files the user closes the source, the destination
    // and the main window; whatever closed is freed at once, so a window
    // still in use would be used after it is gone.
    QList<bool> closed;
    d.shell->ui.on_pump = [&] {
      auto* copy = d.shell->frame->findChild<CCopyFilesDlg*>();
      if (!closed.isEmpty() || !copy || copy->CopyingText().isEmpty()) return;
      for (QWidget* w : {static_cast<QWidget*>(image.data()), static_cast<QWidget*>(pc.data())})
        closed << w->parentWidget()->close();
      closed << d.shell->frame->close();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    d.shell->frame->HandleDrop(d.pc, data.get());
    d.shell->ui.on_pump = nullptr;
    QCOMPARE(closed, (QList<bool>{false, false, false}));
    QCOMPARE(d.shell->ui.beeps, std::vector<kelvo::BeepKind>(3, kelvo::BeepKind::Exclamation));
    QVERIFY(image && pc);
    QVERIFY(QFile::exists(d.dir.filePath("A.jsl")) && QFile::exists(d.dir.filePath("B.jsl")));
    QVERIFY(image->parentWidget()->close());  // once it has ended they close
    // The copy window's Cancel asks the transfer to stop.
    CCopyFilesDlg dialog;
    dialog.Show();
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    QVERIFY(dialog.CancelRequested());
    dialog.Close();
  }

  void ImageFilesAreExportedOnlyWhenAskedAndRawImagesOpen() {
    Desk d({{"FON", "T", "FNT", 2}, {"JOB", "", "JSL", 1}});
    QVERIFY(d.Ok());
    auto data = DragFrom(d.image, {"Font.fnt", "Job.jsl"});
    QVERIFY(data->hasFormat(kFileListMimeType) && data->formats().contains("text/uri-list"));
    QVERIFY(DragFolders(d.runtime.path()).isEmpty());  // offering the formats exports nothing
    const QList<QUrl> urls = data->urls();
    QCOMPARE(urls.size(), 2);
    QCOMPARE(DragFolders(d.runtime.path()).size(), 1);
    const QString folder = QFileInfo(urls[0].toLocalFile()).absolutePath();
    QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    QCOMPARE(QFileInfo(urls[0].toLocalFile()).size(), 1024);
    data->urls();  // asked again, nothing is exported a second time
    QCOMPARE(DragFolders(d.runtime.path()).size(), 1);
    // Drops inside the program use the block and export nothing.
    d.shell->frame->HandleDrop(d.pc, DragFrom(d.image, {"Job.jsl"}).get());
    QVERIFY(QFile::exists(d.dir.filePath("Job.jsl")) && Names(d.pc).contains("Job.jsl"));
    QCOMPARE(DragFolders(d.runtime.path()).size(), 1);
    // PC files offer themselves.
    QCOMPARE(DragFrom(d.pc, {"Job.jsl"})->urls(), QList<QUrl>{QUrl::fromLocalFile(d.dir.filePath("Job.jsl"))});
    // A raw image of 80 cylinders of 9 sectors (the file system and zeros)
    // opens as a disk image; a printer image file named ".img" stays an image.
    QByteArray raw = ReadAll(d.dir.filePath("d.kdi"));
    raw.append(QByteArray(737280 - raw.size(), '\0'));
    WriteFile(d.dir.path(), "DISK.IMA", raw);
    CDiskImageWindow* image = OpenImage(*d.shell, d.dir.filePath("DISK.IMA"));
    QVERIFY(image && image != d.image);
    QCOMPARE(Names(image), (QStringList{"Font.fnt", "Job.jsl"}));
    WriteFile(d.dir.path(), "logo.img", QByteArray(600, '\x71'));
    QVERIFY(!OpensAsDiskImage(d.dir.filePath("logo.img")));
    QVERIFY(d.Asked().empty());
    // The folders go when the program ends, and once they are old.
    d.shell->frame.reset();
    QVERIFY(DragFolders(d.runtime.path()).isEmpty());
    CDragExportFolders old(std::chrono::seconds(0));
    const QString first = old.NewFolder();
    old.NewFolder();
    QVERIFY(!QFileInfo::exists(first));
  }
};

QTEST_MAIN(DropTest)
#include "drop_test.moc"
