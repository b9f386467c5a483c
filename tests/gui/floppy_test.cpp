// Floppy windows over emulated drives and the Disk menu's dialogs: the
// drive's errors, files in and out, Format, Label Disk and Copy Disk.
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "diskfs/copy_disk.h"
#include "gui/dialogs/copy_disk_dialog.h"
#include "gui/dialogs/floppy_drive_info_dialog.h"
#include "gui/dialogs/format_dialog.h"
#include "gui/dialogs/label_disk_dialog.h"
#include "gui/shell/floppy_drives.h"
#include "gui/windows/device_bar.h"
#include "gui/windows/floppy_window.h"
#include "gui/windows/pc_explorer_window.h"
#include "support/floppy_media.h"
#include "support/gui_fixture.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;
using kelvo::Button;

namespace {

QPushButton* ButtonNamed(QWidget* dialog, const QString& text) {
  for (QPushButton* b : dialog->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

std::string Std(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Runs `act` in the Format dialog the Disk menu opens, then closes it.
void WithFormatDialog(Shell& shell, std::function<void(CFormatDlg*)> act) {
  shell.modals.Expect<CFormatDlg>([act](CFormatDlg* d) {
    act(d);
    d->reject();
  });
  shell.frame->RunCommand(Cmd::FormatDisk);
}

void UseFile(const CCopyDiskDlg::Side& side, const QString& path) {
  side.use_file->setChecked(true);
  side.file->setText(path);
}

}  // namespace

class FloppyTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  // The drive's button opens the window of the drive; files go to the disk
  // and back; while a transfer holds a drive the disk is not read again.
  void DeviceButtonOpensTheWindowFilesGoToTheDiskAndBack() {
    FloppyShell f;
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    CMainFrame& frame = *shell.frame;
    frame.DeviceBar()->Buttons().first()->click();
    CFloppyWindow* floppy = ActiveChild<CFloppyWindow>(frame);
    QVERIFY(floppy);
    QCOMPARE(Sorted(Names(floppy)), (QStringList{"A.jsl", "Report.fnt"}));
    QVERIFY(shell.ui.asks.empty() && !floppy->Busy());
    frame.OnIdle();
    QVERIFY(frame.Action(Cmd::LabelDisk)->isEnabled());
    frame.MdiArea()->activateNextSubWindow();
    frame.OnIdle();
    QVERIFY(!frame.Action(Cmd::LabelDisk)->isEnabled());
    frame.DeviceBar()->Buttons().first()->click();  // the same window again
    QCOMPARE(ActiveChild<CFloppyWindow>(frame), floppy);
    QCOMPARE(frame.MdiArea()->subWindowList().size(), 2);
    // Files on the window, and from the desktop's file manager on the drive's button.
    WriteFile(f.dir.path(), "NEWFIL.JSL", QByteArray(1500, 'n'));
    WriteFile(f.dir.path(), "DESK.JSL", QByteArray(100, 'd'));
    f.pc->Refresh();
    frame.HandleDrop(floppy, DragFrom(f.pc, {"NEWFIL.JSL"}).get());
    QVERIFY(shell.ui.asks.empty());
    QCOMPARE(Sorted(Names(floppy)), (QStringList{"A.jsl", "Newfil.jsl", "Report.fnt"}));
    QMimeData from_desktop;
    from_desktop.setUrls({QUrl::fromLocalFile(f.dir.filePath("DESK.JSL"))});
    frame.HandleDeviceDrop(frame.Devices()[0], &from_desktop);
    QVERIFY(Names(floppy).contains("Desk.jsl"));
    // Back to the PC, as stored.
    QTemporaryDir out;
    QVERIFY(f.pc->OpenFolder(out.path()));
    shell.ctx.settings.RetainPrinterFormat = 1;
    frame.HandleDrop(f.pc, DragFrom(floppy, {"Report.fnt"}).get());
    QVERIFY(shell.ui.asks.empty());
    QCOMPARE(ReadAll(QDir(out.path()).filePath("Report.fnt")), QByteArray(3 * 512, 'A'));
    QVERIFY(Names(f.pc).contains("Report.fnt"));
    // While a transfer holds a drive the disk is not read again.
    QVERIFY(MakeFloppyMedium(f.a, {}));
    shell.ctx.app.CopyInProgress = true;
    floppy->Refresh();
    QCOMPARE(Names(floppy).size(), 4);
    QCOMPARE(shell.ui.beeps.back(), kelvo::BeepKind::Exclamation);
    shell.ctx.app.CopyInProgress = false;
    floppy->Refresh();
    QVERIFY(Names(floppy).isEmpty());
  }

  void BadMediaAreReportedAndLeaveTheWindowUsable() {
    FloppyShell f(DriveB::None, false);  // no medium yet
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    CFloppyWindow* floppy = f.OpenA();
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"The disk media is not recognized.  It may not be formatted."});
    QVERIFY(Names(floppy).isEmpty() && !floppy->Listed() && !floppy->Busy());
    // A transfer opening the drive shows the wait cursor, gone after.
    QList<bool> waiting;
    shell.ui.on_ask = [&](const std::string&) {
      waiting << (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
    };
    MakeFiles(f.dir.path(), {"NEWFIL.JSL"}, 100);
    f.pc->Refresh();
    shell.frame->HandleDeviceDrop(shell.frame->Devices()[0], DragFrom(f.pc, {"NEWFIL.JSL"}).get());
    QCOMPARE(waiting.value(0, false), true);  // the empty drive was reported
    QVERIFY(!QApplication::overrideCursor());
    shell.ui.on_ask = nullptr;
    // A volume block that claims another geometry: Retry reads again, Cancel gives up.
    kelvo::test::WritePatternMedium(Std(f.a), 9);
    kelvo::test::WriteVolumeWords(Std(f.a), 2339, 15);
    shell.ui.asks.clear();
    shell.ui.answers = {Button::Retry, Button::Cancel};
    shell.frame->RunCommand(Cmd::Refresh);
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>(2, "Sector not found on floppy drive."));
    QVERIFY(!floppy->Listed() && !floppy->Busy());
    // A disk of another kind: Yes to the question opens the Format dialog for that drive.
    kelvo::test::WritePatternMedium(Std(f.a), 9);
    shell.ui.asks.clear();
    shell.ui.answers = {Button::Yes};
    QString dialog_drive;
    shell.modals.Expect<CFormatDlg>([&](CFormatDlg* d) {
      dialog_drive = d->findChild<QComboBox*>(QStringLiteral("DriveType"))->currentText();
      d->reject();
    });
    floppy->Refresh();
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"The media is not in Kelvo format. Would you like to format it now?"});
    QTRY_VERIFY(dialog_drive.endsWith(QStringLiteral("(A:)")));
  }

  void FormatDialogAndDriveInformationFollowTheDrives() {
    FloppyShell f(DriveB::FiveAndQuarter);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    f.OpenA();
    const struct {
      int driver;
      const char* drive;
      const char* capacity;  // chosen, or nullptr for the one the dialog starts with
      kelvo::MediaKind media;
      bool start;
    } rows[] = {
        {1, "A:", nullptr, kelvo::MediaKind::F3_1Pt2_512, true},  // the printer's 1.2 MB
        {0, "A:", nullptr, kelvo::MediaKind::F3_720_512, true},  // without the driver: its own format
        {0, "A:", "1.2M", kelvo::MediaKind::F3_1Pt2_512, false},
        {0, "B:", "720K", kelvo::MediaKind::F5_720_512, false},
    };
    for (const auto& r : rows) {
      shell.ctx.app.FormatDriverPresent = r.driver;
      WithFormatDialog(shell, [&](CFormatDlg* d) {
        d->SelectDrive(r.drive);
        auto* capacity = d->findChild<QComboBox*>(QStringLiteral("Capacity"));
        if (r.capacity) capacity->setCurrentIndex(capacity->findText(r.capacity));
        QCOMPARE(d->SelectedMedia(), r.media);
        QCOMPARE(ButtonNamed(d, "Start")->isEnabled(), r.start);
        // The ID of the disk the open window of A: shows, else the title.
        QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("DiskId"))->text(),
                 QString::fromLatin1(r.drive == QStringLiteral("A:") ? "TEST DISK" : "Kelvo Disk Utility"));
      });
    }
    shell.modals.Expect<CFloppyDriveInfoDlg>([](CFloppyDriveInfoDlg* d) {
      // Rows 3.5-inch 720k, 1.2Mb, 5.25-inch 720k, 1.2Mb; A: 3.5-inch, B: 5.25-inch.
      QVERIFY(d->Marked(0, 0) && !d->Marked(0, 1) && d->Marked(2, 1) && !d->Marked(2, 0));
      d->accept();
    });
    shell.frame->RunCommand(Cmd::DiskDriveInfo);
  }

  // Quick and full formats from the Disk menu, Cancel, and a drive that
  // cannot format.
  void FormatsRunFromTheDialogAndRefreshTheWindow() {
    FloppyShell f;
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    CFloppyWindow* floppy = f.OpenA();
    // Quick: the printer disk keeps its 720K.
    WithFormatDialog(shell, [](CFormatDlg* d) {
      d->findChild<QRadioButton*>()->setChecked(true);  // "Quick (erase)"
      d->Start();
    });
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"Drive formatted successfully"});
    QCOMPARE(QFile(f.a).size(), qint64(kelvo::test::MediumBytes(9)));
    // Full, to the 1.2 MB the dialog starts with: running, then done and listed again.
    int last = -1;
    bool running_look = true;
    WithFormatDialog(shell, [&](CFormatDlg* d) {
      d->findChild<QLineEdit*>(QStringLiteral("DiskId"))->setText("FRESH");
      QObject::connect(d, &CFormatDlg::progressMoved, d, [&, d](int pos) {
        last = pos;
        running_look = running_look && ButtonNamed(d, "Cancel") && !ButtonNamed(d, "Start")->isEnabled();
      });
      QTest::mouseClick(ButtonNamed(d, "Start"), Qt::LeftButton);
      QVERIFY(ButtonNamed(d, "Close") && ButtonNamed(d, "Start")->isEnabled());
    });
    QVERIFY(running_look);
    QCOMPARE(last, 0);  // back to 0 after the file system was written
    QCOMPARE(QFile(f.a).size(), qint64(kelvo::test::MediumBytes(15)));
    QCOMPARE(floppy->DiskId(), QStringLiteral("FRESH"));
    // Cancel stops the format between cylinders; the dialog stays.
    shell.ui.asks.clear();
    last = -1;
    WithFormatDialog(shell, [&](CFormatDlg* d) {
      QObject::connect(d, &CFormatDlg::progressMoved, d, [&, d](int pos) {
        if (pos > 0) last = pos;
        if (pos == 5) QTest::mouseClick(ButtonNamed(d, "Cancel"), Qt::LeftButton);
      });
      d->Start();
      QVERIFY(d->isVisible() && !d->Formatting());
    });
    QCOMPARE(last, 5);
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"Format cancelled at user request."});

    // A plain block device (a file standing in for a USB floppy drive) reads
    // and writes printer disks but cannot be told their geometries.
    const QString usb = f.dir.filePath("usb.img");
    QVERIFY(MakeFloppyMedium(usb, kTwoFiles));
    Shell plain({PresentDevice{"A:", usb, false, true}});
    plain.Start(f.dir.path());
    WithFormatDialog(plain, [](CFormatDlg* d) { d->Start(); });
    QCOMPARE(plain.ui.asks.size(), size_t{1});
    QCOMPARE(MediumNames(usb), (QStringList{"A.jsl", "Report.fnt"}));
  }

  void LabelDiskChangesTheDiskId() {
    FloppyShell f;
    QVERIFY(f.ok);
    CFloppyWindow* floppy = f.OpenA();
    for (bool ok : {true, false}) {
      f.shell->modals.Expect<CLabelDiskDlg>([ok](CLabelDiskDlg* d) {
        QCOMPARE(d->Field()->text(), QString::fromLatin1(ok ? "TEST DISK" : "OPERATIONS 2026"));
        d->Field()->setText(ok ? "OPERATIONS 2026" : "NOT THIS");
        ok ? d->accept() : d->reject();
      });
      f.shell->frame->RunCommand(Cmd::LabelDisk);
      QString id;
      QCOMPARE(MediumNames(f.a, &id), (QStringList{"A.jsl", "Report.fnt"}));
      QCOMPARE(id, QStringLiteral("OPERATIONS 2026"));
      QCOMPARE(floppy->DiskId(), QStringLiteral("OPERATIONS 2026"));
    }
    QVERIFY(f.shell->ui.asks.empty());
  }

  void CopyDiskEachWayFromTheMenu() {
    FloppyShell f(DriveB::ThreeAndHalf);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    CFloppyWindow* b_window = shell.frame->Floppies().OpenFloppyWindow(shell.frame->Devices()[1]);  // no disk yet
    const std::string density = "Does the destination drive contain a double-density diskette?";
    const struct {
      const char* from;  // "A:" or a file
      const char* to;    // "B:" or a file
      std::vector<Button> answers;
      bool ok;
      std::vector<std::string> questions;
    } rows[] = {
        {"A:", "copy.kdi", {}, true, {}},
        {"copy.kdi", "B:", {Button::No}, false, {density, "The media types for the source and destination do not match."}},
        {"copy.kdi", "B:", {Button::Yes}, true, {density}},
    };
    shell.modals.Expect<CCopyDiskDlg>([&](CCopyDiskDlg* d) {
      const auto side = [&](const CCopyDiskDlg::Side& s, const QString& where) {
        if (!where.endsWith(':')) return UseFile(s, f.dir.filePath(where));
        s.use_drive->setChecked(true);
        s.drive->setCurrentIndex(where == "B:" ? 1 : 0);
      };
      for (const auto& r : rows) {
        side(d->Source(), r.from);
        side(d->Destination(), r.to);
        shell.ui.asks.clear();
        shell.ui.answers.assign(r.answers.begin(), r.answers.end());
        QCOMPARE(d->Copy() == 0, r.ok);
        QCOMPARE(shell.ui.Texts(), r.questions);
        if (r.ok) QCOMPARE(d->Progress()->value(), 78);
      }
      // Stop and Esc end a copy; the dialog stays and leaves no image.
      const QString stopped = f.dir.filePath("stopped.kdi");
      side(d->Source(), "A:");
      UseFile(d->Destination(), stopped);
      shell.ui.asks.clear();
      for (bool esc : {false, true}) {
        int last = 0;
        bool running_look = false;
        auto c = connect(d, &CCopyDiskDlg::progressMoved, d, [&](int pos) {
          if (pos < 78) last = pos;
          if (pos != 10) return;
          running_look = !d->CopyButton()->isEnabled() && !d->Source().drive->isEnabled();
          if (esc)
            QTest::keyClick(d, Qt::Key_Escape);
          else
            QTest::mouseClick(d->StopButton(), Qt::LeftButton);
        });
        QCOMPARE(d->Copy(), kelvo::kDiskCopyStopped);
        disconnect(c);
        QVERIFY(running_look);
        QCOMPARE(last, 10);
        QVERIFY(!QFile::exists(stopped));
        QVERIFY(d->isVisible() && d->CopyButton()->isEnabled());
      }
      QVERIFY(shell.ui.asks.empty());
      d->StopButton()->click();  // no copy running: the button closes the dialog
    });
    shell.frame->RunCommand(Cmd::CopyDisk);
    QCOMPARE(QFile(f.dir.filePath("copy.kdi")).size(), qint64{718848});  // the bytes are the copy tests'
    QCOMPARE(MediumNames(f.b), (QStringList{"A.jsl", "Report.fnt"}));
    QCOMPARE(Sorted(Names(b_window)), MediumNames(f.b));  // the open window of the drive shows the copy
  }

  void BrowseTakesOnlyDiskImageFiles() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"notes.txt"});
    QVERIFY(MakeImage(dir.filePath("disk.kdi"), {}));
    Shell shell;
    shell.Start(dir.path());
    CCopyDiskDlg d(shell.ctx, {}, {}, shell.frame.get());
    d.show();
    QVERIFY(d.Source().use_file->isChecked());  // no floppy drives: both sides are files
    // The file dialog (the widget one: no desktop dialog) is driven through
    // its name field, which picks the file whatever has the focus and
    // whether or not its folder has been read yet.
    const auto choose = [&](const QString& name) {
      shell.modals.Expect<QFileDialog>([&, name](QFileDialog* f) {
        QVERIFY(f->testOption(QFileDialog::DontUseNativeDialog));
        auto* field = f->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(field);
        field->setText(dir.filePath(name));
        static_cast<QDialog*>(f)->accept();
      });
      d.Source().browse->click();
    };
    choose("notes.txt");
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"The specified file type is invalid"});
    QCOMPARE(d.Source().file->text(), QString());
    choose("disk.kdi");
    QCOMPARE(QDir::fromNativeSeparators(d.Source().file->text()), dir.filePath("disk.kdi"));
    QCOMPARE(shell.ui.asks.size(), size_t{1});
  }
};

QTEST_MAIN(FloppyTest)
#include "floppy_test.moc"
