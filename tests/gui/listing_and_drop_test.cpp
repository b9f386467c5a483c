// Listings (saved ".lst" files and printing to PDF), drops between windows
// and on device buttons, and a screenshot of the main window for review.
#include <QDialogButtonBox>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPointer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

#include "gui/dialogs/copy_files_dialog.h"
#include "gui/windows/disk_image_window.h"
#include "gui/shell/drag_payload.h"
#include "gui/windows/listing.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/windows/tape_window.h"
#include "support/gui_fixture.h"
#include "support/image_builder.h"
#include "support/tape_media.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

class ListingAndDropTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void CreatedLineUsesTheTwelveHourClock() {
    QCOMPARE(CreatedLine(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9))),
             QStringLiteral("Created on Sunday, December 06, 2026 at 02:05:09"));
    QCOMPARE(CreatedLine(QDateTime(QDate(2026, 1, 1), QTime(0, 30, 0))),
             QStringLiteral("Created on Thursday, January 01, 2026 at 12:30:00"));
  }

  void SavesThePcListInTheListingFormat() {
    QTemporaryDir dir;
    MakeFile(dir.path(), "B.JSL", 1234);
    MakeFile(dir.path(), "A.FNT", 10);
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    shell.frame->Action(Cmd::ByName)->trigger();
    const QString out = dir.filePath("list.lst");
    QVERIFY(shell.frame->Documents().SaveFileListTo(out));
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], "Listing of files contained in " + pc->PlaceText());
    QVERIFY(lines[1].startsWith("Created on "));
    QVERIFY(lines[2].startsWith("Name "));
    QVERIFY(lines[2].contains(QRegularExpression("Size +Description +Last Modified$")));
    QVERIFY(lines[3].startsWith("A.FNT "));
    QVERIFY(lines[3].contains("Font File (300 dpi)"));
    QVERIFY(lines[4].startsWith("B.JSL "));
    QVERIFY(lines[4].contains(" 1,234 "));
  }

  void ImageListingHasThreeColumnsAndPrintsToPdf() {
    QTemporaryDir dir;
    QVERIFY(MakeImage(dir.filePath("l.kdi"), {{"REP", "ORT", "FNT", 2}}));
    Shell shell;
    shell.Start(dir.path());
    CDiskImageWindow* image = OpenImage(shell, dir.filePath("l.kdi"));
    QVERIFY(image);
    const Listing l = MakeListing(*image, QDateTime::currentDateTime());
    QCOMPARE(l.heading, QStringLiteral("Listing of files contained in l.kdi"));
    QCOMPARE(l.columns, (QStringList{"Name", "Size", "Description"}));
    QCOMPARE(l.rows.size(), size_t{1});
    QCOMPARE(l.rows[0], (QStringList{"Report.fnt", "1,024", "Font File (300 dpi)"}));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = OutputPath("listing.pdf");
    printer.setOutputFileName(pdf);
    QVERIFY(PrintListing(l, printer, 10, 10, image->ListView()->ColumnWidths()));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.size() > 500);
    QCOMPARE(f.read(5), QByteArray("%PDF-"));
  }

  void DropsFollowTheTransferTable() {
    QTemporaryDir dir;
    MakeFile(dir.path(), "A.JSL", 10);
    QVERIFY(MakeImage(dir.filePath("d.kdi"), {{"A", "", "JSL", 1}}));
    std::vector<PresentDevice> devices = {{"A:", "emu:" + dir.filePath("a.img"), false, true}};
    Shell shell(devices);
    CPcExplorerWindow* pc = shell.Start(dir.path());
    CDiskImageWindow* image = OpenImage(shell, dir.filePath("d.kdi"));

    // The drag from the image carries the "KelvoFileList" block.
    image->ListView()->SelectAll();
    QMimeData* data = image->ListView()->make_drag_data();
    QVERIFY(data);
    const auto payload = DecodeFileList(data->data(kFileListMimeType));
    QVERIFY(payload);
    QCOMPARE(payload->kind, 3);
    QCOMPARE(payload->count, 1);
    QCOMPARE(shell.ctx.TransferSelection(), QStringList{"A.jsl"});

    // A drop on the window the drag came from is ignored.
    shell.frame->HandleDrop(image, data);
    QVERIFY(shell.ui.asks.empty());
    // Disk image to floppy has no routine.
    shell.frame->HandleDeviceDrop(devices[0], data);
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"Function Not Yet Implemented"});
    QCOMPARE(shell.ui.asks.back().icon, kelvo::Icon::Information);
    QCOMPARE(shell.ui.beeps.back(), kelvo::BeepKind::Information);
    delete data;

    // PC folder to PC folder does nothing and shows nothing, also for files
    // dragged in from a file manager.
    QMimeData from_desktop;
    from_desktop.setUrls({QUrl::fromLocalFile(dir.filePath("A.JSL"))});
    const size_t asked = shell.ui.asks.size();
    shell.frame->HandleDrop(pc, &from_desktop);
    QCOMPARE(shell.ui.asks.size(), asked);

    // A stale window reference is not trusted.
    QMimeData stale;
    stale.setData(kFileListMimeType, EncodeFileList({0, 1, quintptr{0x1234}}));
    shell.frame->HandleDrop(image, &stale);
    QCOMPARE(shell.ui.asks.size(), asked);
  }

  void PcFilesDroppedOnAnImageAreStoredInItsDocument() {
    QTemporaryDir dir;
    MakeFile(dir.path(), "NEW.JSL", 700);
    QVERIFY(MakeImage(dir.filePath("d.kdi"), {{"A", "", "JSL", 1}}));
    std::vector<PresentDevice> devices = {{"Tape0", "emu:" + dir.filePath("t.tap"), true, true}};
    Shell shell(devices);
    CPcExplorerWindow* pc = shell.Start(dir.path());
    CDiskImageWindow* image = OpenImage(shell, dir.filePath("d.kdi"));
    QVERIFY(!image->Modified());

    pc->ListView()->SelectNames({"NEW.JSL"});
    std::unique_ptr<QMimeData> data(pc->ListView()->make_drag_data());
    QVERIFY(data);
    shell.frame->HandleDrop(image, data.get());
    QVERIFY(shell.ui.asks.empty());
    QCOMPARE(Names(image), (QStringList{"A.jsl", "New.jsl"}));
    QVERIFY(image->Modified());
    bool listed = false;
    for (const kelvo::ListedFile& f : image->LastListing().files)
      if (f.name == "NEW.JSL") listed = f.size >= 700;
    QVERIFY(listed);

    // Dropping it again replaces the file: still one entry of that name.
    shell.frame->HandleDrop(image, data.get());
    QCOMPARE(Names(image), (QStringList{"A.jsl", "New.jsl"}));

    // PC files dropped on the button of a tape drive that is not there.
    shell.frame->HandleDeviceDrop(devices[0], data.get());
    QCOMPARE(shell.ui.Texts(),
             std::vector<std::string>{"The tape drive is either not present or is in use."});
  }

  void ImageFilesDroppedOnThePcWindowAreWrittenToItsFolder() {
    QTemporaryDir dir;
    QVERIFY(MakeImage(dir.filePath("d.kdi"), {{"B", "", "JSL", 2}}));
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    CDiskImageWindow* image = OpenImage(shell, dir.filePath("d.kdi"));
    image->ListView()->SelectAll();
    std::unique_ptr<QMimeData> data(image->ListView()->make_drag_data());
    QVERIFY(data);
    shell.frame->HandleDrop(pc, data.get());
    QVERIFY(shell.ui.asks.empty());
    QVERIFY(pc->Model()->FindRow("B.JSL") >= 0);
    const QStringList written = QDir(dir.path()).entryList({"b.jsl"}, QDir::Files);
    QCOMPARE(written.size(), 1);
    QVERIFY(QFileInfo(dir.filePath(written[0])).size() > 0);
    QVERIFY(!image->Modified());
  }

  void TwoImagesOfOneNameAreTwoPlaces() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("one") && QDir(dir.path()).mkpath("two"));
    QVERIFY(MakeImage(dir.filePath("one/demo.kdi"), {{"A", "", "JSL", 1}}));
    QVERIFY(MakeImage(dir.filePath("two/demo.kdi"), {{"B", "", "JSL", 1}}));
    MakeFile(dir.path(), "NEW.JSL", 100);
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    CDiskImageWindow* first = OpenImage(shell, dir.filePath("one/demo.kdi"));
    CDiskImageWindow* second = OpenImage(shell, dir.filePath("two/demo.kdi"));
    QVERIFY(first && second && first != second);
    QCOMPARE(first->PlaceText(), second->PlaceText());

    // Dropped on the second: stored there and listed at once.
    pc->ListView()->SelectNames({"NEW.JSL"});
    std::unique_ptr<QMimeData> to_image(pc->ListView()->make_drag_data());
    shell.frame->HandleDrop(second, to_image.get());
    QCOMPARE(Names(second), (QStringList{"B.jsl", "New.jsl"}));
    QVERIFY(second->Modified());
    QCOMPARE(Names(first), QStringList{"A.jsl"});
    QVERIFY(!first->Modified());

    // Dragged from the second: its files arrive.
    second->ListView()->SelectNames({"B.jsl"});
    std::unique_ptr<QMimeData> from_image(second->ListView()->make_drag_data());
    shell.frame->HandleDrop(pc, from_image.get());
    QVERIFY(shell.ui.asks.empty());
    QVERIFY(QFileInfo(dir.filePath("B.jsl")).isFile());
  }

  void ADestinationIsListedAgainAfterAFailurePartWay() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"AAA.JSL", "ZZZ.JSL"}, 100);
    QVERIFY(MakeImage(dir.filePath("d.kdi"), {}));
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    CDiskImageWindow* image = OpenImage(shell, dir.filePath("d.kdi"));
    pc->ListView()->SelectAll();
    std::unique_ptr<QMimeData> data(pc->ListView()->make_drag_data());
    shell.ctx.SetTransferSelection({"AAA.JSL", "ZZZ.JSL"});
    QVERIFY(QFile::remove(dir.filePath("ZZZ.JSL")));  // gone before it is read
    shell.frame->HandleDrop(image, data.get());
    QCOMPARE(shell.ui.asks.size(), size_t{1});  // the failure, once
    QCOMPARE(Names(image), QStringList{"Aaa.jsl"});
  }

  void WindowsOfARunningTransferRefuseToClose() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("out"));
    QVERIFY(MakeImage(dir.filePath("d.kdi"), {{"A", "", "JSL", 1}, {"B", "", "JSL", 1}}));
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.filePath("out"));
    QPointer<CDiskImageWindow> image = OpenImage(shell, dir.filePath("d.kdi"));
    QPointer<CPcExplorerWindow> destination = pc;
    image->ListView()->SelectAll();
    std::unique_ptr<QMimeData> data(image->ListView()->make_drag_data());

    // Between the two files the user closes the source window, the
    // destination window and the main window; whatever closed is freed at
    // once, so a window still in use would be used after it is gone.
    QList<bool> closed;
    shell.ui.on_pump = [&] {
      auto* copy = shell.frame->findChild<CCopyFilesDlg*>();
      if (!closed.isEmpty() || !copy || copy->CopyingText().isEmpty()) return;
      for (QWidget* w : {static_cast<QWidget*>(image.data()), static_cast<QWidget*>(pc)})
        closed << w->parentWidget()->close();
      closed << shell.frame->close();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    shell.frame->HandleDrop(pc, data.get());
    shell.ui.on_pump = nullptr;
    QCOMPARE(closed, (QList<bool>{false, false, false}));
    QCOMPARE(shell.ui.beeps, std::vector<kelvo::BeepKind>(3, kelvo::BeepKind::Exclamation));
    QVERIFY(image && destination);
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files), (QStringList{"A.jsl", "B.jsl"}));
    QVERIFY(shell.ui.asks.empty());
    // Once it has ended they close again.
    QVERIFY(image->parentWidget()->close());
  }

  void CopyFilesDialogShortensLongPathsAndCancels() {
    CCopyFilesDlg dialog;
    dialog.Show();
    const std::string long_path = "/home/user/" + std::string(40, 'x') + "/" +
                                  std::string(40, 'y') + "/" + std::string(40, 'z') + "/REPORT.FNT";
    dialog.SetTo("Disk.kdi");
    dialog.SetCopying(long_path);
    QCOMPARE(dialog.ToText(), QStringLiteral("Disk.kdi"));
    QCOMPARE(dialog.CopyingText(), QString::fromStdString(long_path));
    bool shortened = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
      if (label->text().contains("/.../") && label->text().endsWith("/REPORT.FNT"))
        shortened = label->text().size() < int(long_path.size());
    QVERIFY(shortened);
    QVERIFY(!dialog.CancelRequested());
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    QVERIFY(dialog.CancelRequested());
    dialog.Show();  // a new transfer starts uncancelled
    QVERIFY(!dialog.CancelRequested());
    dialog.Close();
  }

  void ScreenshotOfTheMainWindow() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"REPORT.FNT", "FORM1.FRM", "JOB1.JSL", "PATCH.PCH"}, 2000);
    QVERIFY(MakeImage(dir.filePath("demo.kdi"), {{"REP", "ORT", "FNT", 3}, {"JOB", "1", "JSL", 2},
                                                 {"LOG", "O", "LGO", 4}}));
    std::vector<PresentDevice> devices = {{"A:", "emu:a.img", false, true},
                                        {"Tape0", "demo.tap", true, true}};
    Shell shell(devices);
    const QString tap = dir.filePath("demo.tap");
    QVERIFY(WriteLabelledTapeImage(tap, {BinaryTapeFile("REPORT", "FNT", 6144, 1),
                                         SourceTapeFile("JOB1", "JSL", {"START", "END"}),
                                         BinaryTapeFile("LOGO", "IMG", 2048, 2)}));
    shell.ctx.app.Bindings.tape[0] = tap.toStdString();
    shell.Start(dir.path());
    shell.frame->resize(900, 620);
    OpenImage(shell, dir.filePath("demo.kdi"));
    CTapeWindow* tape = OpenTapeWindow(shell.frame->Windows(), "Tape0");
    QCOMPARE(Names(tape).size(), 3);
    shell.frame->MdiArea()->tileSubWindows();
    QTest::qWait(50);
    const QString path = OutputPath("kdisk_main_window.png");
    QVERIFY(shell.frame->grab().save(path));
    QVERIFY(QFile(path).size() > 1000);
    qInfo("screenshot saved to %s", qPrintable(path));
  }
};

QTEST_MAIN(ListingAndDropTest)
#include "listing_and_drop_test.moc"
