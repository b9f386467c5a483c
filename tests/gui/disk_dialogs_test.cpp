// The Disk menu's dialogs over emulated drives: Format (full, quick, Cancel,
// the capacity rules), Label Disk, Copy Disk in both directions with its
// questions, Stop and Browse, and Floppy Drive Information.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "diskfs/copy_disk.h"
#include "gui/dialogs/copy_disk_dialog.h"
#include "gui/dialogs/floppy_drive_info_dialog.h"
#include "gui/shell/floppy_drives.h"
#include "gui/windows/floppy_window.h"
#include "gui/dialogs/format_dialog.h"
#include "gui/dialogs/label_disk_dialog.h"
#include "support/floppy_fixture.h"
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

QStringList LabelTexts(QWidget* dialog) {
  QStringList out;
  for (QLabel* l : dialog->findChildren<QLabel*>()) out << l->text();
  return out;
}

bool Asked(const Shell& shell, const std::string& text) {
  for (const kelvo::test::AskCall& a : shell.ui.asks)
    if (a.text == text) return true;
  return false;
}

std::string Std(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Runs `act` in the Format dialog opened by the Disk menu.
void WithFormatDialog(Shell& shell, std::function<void(CFormatDlg*)> act) {
  bool ran = false;
  WhenModal<CFormatDlg>([&](CFormatDlg* d) {
    act(d);
    ran = true;
    d->reject();
  });
  shell.frame->RunCommand(Cmd::FormatDisk);
  QVERIFY(ran);
}

void SetCapacity(CFormatDlg* d, const QString& text) {
  auto* combo = d->findChild<QComboBox*>(QStringLiteral("Capacity"));
  combo->setCurrentIndex(combo->findText(text));
}

void UseFile(const CCopyDiskDlg::Side& side, const QString& path) {
  side.use_file->setChecked(true);
  side.file->setText(path);
}

}  // namespace

class DiskDialogsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void FormatDialogStartsFromTheDriveAndTheDriver() {
    FloppyShell f(DriveB::FiveAndQuarter);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    f.OpenA();

    WithFormatDialog(shell, [](CFormatDlg* d) {
      QCOMPARE(d->windowTitle(), QStringLiteral("Format Disk"));
      auto* drive = d->findChild<QComboBox*>(QStringLiteral("DriveType"));
      auto* capacity = d->findChild<QComboBox*>(QStringLiteral("Capacity"));
      auto* id = d->findChild<QLineEdit*>(QStringLiteral("DiskId"));
      QCOMPARE(drive->count(), 2);
      QCOMPARE(drive->itemText(0), QStringLiteral("3\u00BD Floppy (A:)"));
      QCOMPARE(drive->itemText(1), QStringLiteral("5\u00BC Floppy (B:)"));
      QCOMPARE(capacity->itemText(0), QStringLiteral("720K"));
      QCOMPARE(capacity->itemText(1), QStringLiteral("1.2M"));
      for (const char* label : {"Drive Type", "Capacity", "Disk Id"})
        QVERIFY(LabelTexts(d).contains(QString::fromLatin1(label)));
      QVERIFY(ButtonNamed(d, "Start") && ButtonNamed(d, "Start")->isEnabled());
      QVERIFY(ButtonNamed(d, "Close"));
      QStringList radios;
      for (QRadioButton* r : d->findChildren<QRadioButton*>()) radios << r->text();
      QCOMPARE(radios, (QStringList{"Quick (erase)", "Full"}));
      // With the driver, a 3.5-inch drive starts at the printer's 1.2 MB.
      QCOMPARE(capacity->currentText(), QStringLiteral("1.2M"));
      QCOMPARE(d->SelectedMedia(), kelvo::MediaKind::F3_1Pt2_512);
      // The ID of the disk the open window of A: shows; 30 characters at most.
      QCOMPARE(id->text(), QStringLiteral("TEST DISK"));
      QCOMPARE(id->maxLength(), 30);
      // Another drive: the code follows its form, the ID the program title.
      drive->setCurrentIndex(1);
      QCOMPARE(d->SelectedMedia(), kelvo::MediaKind::F5_1Pt2_512);
      QCOMPARE(id->text(), QStringLiteral("Kelvo Disk Utility"));
      SetCapacity(d, "720K");
      QCOMPARE(d->SelectedMedia(), kelvo::MediaKind::F5_720_512);
      QVERIFY(ButtonNamed(d, "Start")->isEnabled());
    });

    // Without the driver a drive starts at its own format, and Start is
    // refused for the printer's formats.
    shell.ctx.app.FormatDriverPresent = 0;
    WithFormatDialog(shell, [](CFormatDlg* d) {
      auto* capacity = d->findChild<QComboBox*>(QStringLiteral("Capacity"));
      QPushButton* start = ButtonNamed(d, "Start");
      QCOMPARE(capacity->currentText(), QStringLiteral("720K"));
      QVERIFY(start->isEnabled());
      SetCapacity(d, "1.2M");
      QVERIFY(!start->isEnabled());
      d->SelectDrive("B:");
      QCOMPARE(d->SelectedMedia(), kelvo::MediaKind::F5_1Pt2_512);
      QVERIFY(start->isEnabled());
      SetCapacity(d, "720K");
      QVERIFY(!start->isEnabled());
    });
  }

  void FullFormatFormatsEveryCylinderAndRefreshesTheWindow() {
    FloppyShell f(DriveB::None);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    const QString& a = f.a;
    CFloppyWindow* floppy = f.OpenA();
    QCOMPARE(Names(floppy).size(), 2);

    int last = -1;
    bool cancel_shown = true;
    bool start_disabled = true;
    QString status;
    WithFormatDialog(shell, [&](CFormatDlg* d) {
      d->findChild<QLineEdit*>(QStringLiteral("DiskId"))->setText("FRESH");
      QObject::connect(d, &CFormatDlg::progressMoved, d, [&, d](int pos) {
        last = pos;
        cancel_shown = cancel_shown && ButtonNamed(d, "Cancel") != nullptr;
        start_disabled = start_disabled && !ButtonNamed(d, "Start")->isEnabled();
        if (pos == 10) status = d->findChild<QLabel*>(QStringLiteral("Status"))->text();
      });
      QTest::mouseClick(ButtonNamed(d, "Start"), Qt::LeftButton);
      QVERIFY(ButtonNamed(d, "Close"));
      QVERIFY(ButtonNamed(d, "Start")->isEnabled());
      QCOMPARE(d->findChild<QLabel*>(QStringLiteral("Status"))->text(), QString());
      QCOMPARE(d->findChild<QProgressBar*>()->value(), 0);
    });
    QVERIFY(cancel_shown);
    QVERIFY(start_disabled);
    QCOMPARE(status, QStringLiteral("Formatting disk..."));
    QCOMPARE(last, 0);  // back to 0 after the file system was written
    QVERIFY(Asked(shell, "Drive formatted successfully"));
    QCOMPARE(QFile(a).size(), qint64(kelvo::test::MediumBytes(15)));
    QString id;
    QCOMPARE(MediumNames(a, &id), QStringList());
    QCOMPARE(id, QStringLiteral("FRESH"));
    // The open window of the drive shows the new disk.
    QCOMPARE(Names(floppy), QStringList());
    QCOMPARE(floppy->DiskId(), QStringLiteral("FRESH"));
  }

  void QuickFormatKeepsTheCapacityOfThePrinterDisk() {
    FloppyShell f(DriveB::None);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    const QString& a = f.a;
    WithFormatDialog(shell, [&](CFormatDlg* d) {
      QCOMPARE(d->findChild<QComboBox*>(QStringLiteral("Capacity"))->currentText(),
               QStringLiteral("1.2M"));
      d->findChild<QRadioButton*>()->setChecked(true);  // "Quick (erase)"
      d->Start();
      QCOMPARE(d->findChild<QComboBox*>(QStringLiteral("Capacity"))->currentText(),
               QStringLiteral("720K"));
    });
    QVERIFY(Asked(shell, "Drive formatted successfully"));
    QCOMPARE(QFile(a).size(), qint64(kelvo::test::MediumBytes(9)));
    QCOMPARE(MediumNames(a), QStringList());

    // A disk of another kind is offered the full format, which then runs.
    kelvo::test::WritePatternMedium(Std(a), 9);
    shell.ui.asks.clear();
    shell.ui.answers = {Button::Yes};
    bool full_after = false;
    WithFormatDialog(shell, [&](CFormatDlg* d) {
      SetCapacity(d, "720K");
      d->findChild<QRadioButton*>()->setChecked(true);
      d->Start();
      full_after = d->findChildren<QRadioButton*>().at(1)->isChecked();
    });
    QCOMPARE(shell.ui.asks.front().text,
             std::string("The disk is not in Kelvo format. Do you wish to format it now?"));
    QVERIFY(full_after);
    QVERIFY(Asked(shell, "Drive formatted successfully"));
    QCOMPARE(MediumNames(a), QStringList());
  }

  void CancelStopsTheFormatBetweenCylinders() {
    FloppyShell f(DriveB::None, false);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    int last = -1;
    WithFormatDialog(shell, [&](CFormatDlg* d) {
      QObject::connect(d, &CFormatDlg::progressMoved, d, [&, d](int pos) {
        if (pos > 0) last = pos;
        if (pos == 5) QTest::mouseClick(ButtonNamed(d, "Cancel"), Qt::LeftButton);
      });
      d->Start();
      QVERIFY(d->isVisible());  // Cancel stopped the format, not the dialog
      QVERIFY(!d->Formatting());
    });
    QCOMPARE(last, 5);
    QVERIFY(Asked(shell, "Format cancelled at user request."));
    QVERIFY(!Asked(shell, "Drive formatted successfully"));
  }

  void FullFormatIsRefusedOnADriveThatCannotFormat() {
    // A plain block device (here a file standing in for a USB floppy drive)
    // reads and writes printer disks but cannot be told their geometries.
    QTemporaryDir dir;
    const QString usb = dir.filePath("usb.img");
    QVERIFY(MakeFloppyMedium(usb, kTwoFiles));
    Shell shell({PresentDevice{"A:", usb, false, true}});
    shell.Start(dir.path());
    WithFormatDialog(shell, [](CFormatDlg* d) { d->Start(); });
    QCOMPARE(shell.ui.asks.size(), size_t{1});
    QVERIFY2(QString::fromStdString(shell.ui.asks[0].text).endsWith("cannot format them"),
             shell.ui.asks[0].text.c_str());
    QCOMPARE(MediumNames(usb), (QStringList{"A.jsl", "Report.fnt"}));
  }

  void LabelDiskChangesTheDiskId() {
    FloppyShell f(DriveB::None);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    const QString& a = f.a;
    CFloppyWindow* floppy = f.OpenA();
    bool shown = false;
    WhenModal<CLabelDiskDlg>([&](CLabelDiskDlg* d) {
      shown = true;
      QCOMPARE(d->windowTitle(), QStringLiteral("Label Disk"));
      QVERIFY(LabelTexts(d).contains("Disk Id:"));
      QVERIFY(LabelTexts(d).contains("(Maximum 30 characters)"));
      QCOMPARE(d->Field()->text(), QStringLiteral("TEST DISK"));
      QCOMPARE(d->Field()->maxLength(), 30);
      d->Field()->setText("OPERATIONS 2026");
      d->accept();
    });
    shell.frame->RunCommand(Cmd::LabelDisk);
    QVERIFY(shown);
    QString id;
    QCOMPARE(MediumNames(a, &id), (QStringList{"A.jsl", "Report.fnt"}));
    QCOMPARE(id, QStringLiteral("OPERATIONS 2026"));
    QCOMPARE(floppy->DiskId(), QStringLiteral("OPERATIONS 2026"));

    // Cancel changes nothing.
    WhenModal<CLabelDiskDlg>([](CLabelDiskDlg* d) {
      d->Field()->setText("NOT THIS");
      d->reject();
    });
    shell.frame->RunCommand(Cmd::LabelDisk);
    MediumNames(a, &id);
    QCOMPARE(id, QStringLiteral("OPERATIONS 2026"));
    QVERIFY(shell.ui.asks.empty());
  }

  void CopyDiskFromDriveToFileAndBack() {
    FloppyShell f(DriveB::ThreeAndHalf);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    const QString& a = f.a;
    const QString& b = f.b;
    const QString image = f.dir.filePath("copy.kdi");
    CCopyDiskDlg d(shell.ctx, FloppyEntries(shell.frame->Devices()), {}, shell.frame.get());
    d.show();
    QCOMPARE(d.windowTitle(), QStringLiteral("Copy Disk"));
    QCOMPARE(d.findChild<QGroupBox*>("Source")->title(), QStringLiteral("Source"));
    QCOMPARE(d.findChild<QGroupBox*>("Destination")->title(), QStringLiteral("Destination"));
    QCOMPARE(d.Source().use_drive->text(), QStringLiteral("Drive:"));
    QCOMPARE(d.Source().use_file->text(), QStringLiteral("File:"));
    QCOMPARE(d.Source().browse->text(), QStringLiteral("Browse..."));
    QCOMPARE(d.CopyButton()->text(), QStringLiteral("Copy"));
    QCOMPARE(d.StopButton()->text(), QStringLiteral("Close"));
    QVERIFY(d.Source().use_drive->isChecked());

    // Drive A: to an image file: no question; the file holds 78 cylinders.
    UseFile(d.Destination(), image);
    QString status_midway;
    connect(&d, &CCopyDiskDlg::progressMoved, &d, [&](int pos) {
      if (pos == 30) status_midway = d.StatusText();
    });
    QCOMPARE(d.Copy(), kelvo::ErrorCode{0});
    QVERIFY(shell.ui.asks.empty());
    QCOMPARE(status_midway, QStringLiteral("Reading Source Disk..."));
    QCOMPARE(d.StatusText(), QStringLiteral("Disk copy completed without error."));
    QCOMPARE(d.StopButton()->text(), QStringLiteral("&Cancel"));
    QCOMPARE(d.Progress()->value(), 78);
    QCOMPARE(shell.ui.beeps.back(), kelvo::BeepKind::Information);
    const std::vector<std::uint8_t> medium = kelvo::test::ReadBytes(Std(a));
    const std::vector<std::uint8_t> copied = kelvo::test::ReadBytes(Std(image));
    QCOMPARE(copied.size(), size_t{718848});
    QVERIFY(std::equal(copied.begin(), copied.end(), medium.begin()));

    // The image file back to drive B: (empty): asked about the diskette; No
    // ends the copy.
    UseFile(d.Source(), image);
    d.Destination().use_drive->setChecked(true);
    d.Destination().drive->setCurrentIndex(1);
    shell.ui.answers = {Button::No};
    QVERIFY(d.Copy() != 0);
    QCOMPARE(shell.ui.Texts(), (std::vector<std::string>{
                                   "Does the destination drive contain a double-density diskette?",
                                   "The media types for the source and destination do not match."}));
    QCOMPARE(d.StatusText(), QStringLiteral("Disk copy not complete due to error."));
    QVERIFY(!QFile::exists(b) || MediumNames(b) != MediumNames(a));

    shell.ui.asks.clear();
    shell.ui.answers = {Button::Yes};
    QCOMPARE(d.Copy(), kelvo::ErrorCode{0});
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{
                                   "Does the destination drive contain a double-density diskette?"});
    QCOMPARE(d.StatusText(), QStringLiteral("Disk copy completed without error."));
    QCOMPARE(MediumNames(b), (QStringList{"A.jsl", "Report.fnt"}));
    // With no copy running the button closes the dialog.
    d.StopButton()->click();
    QVERIFY(!d.isVisible());
  }

  void StopAndEscEndACopyAndLeaveNoImage() {
    FloppyShell f;
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    const QString image = f.dir.filePath("stopped.kdi");
    CCopyDiskDlg d(shell.ctx, FloppyEntries(shell.frame->Devices()), {}, shell.frame.get());
    d.show();
    UseFile(d.Destination(), image);

    int last = 0;
    bool running_look = false;
    auto connection = connect(&d, &CCopyDiskDlg::progressMoved, &d, [&](int pos) {
      if (pos < 78) last = pos;
      if (pos != 10) return;
      running_look = d.StopButton()->text() == QStringLiteral("&Stop") &&
                     !d.CopyButton()->isEnabled() && !d.Source().drive->isEnabled();
      QTest::mouseClick(d.StopButton(), Qt::LeftButton);
    });
    QCOMPARE(d.Copy(), kelvo::kDiskCopyStopped);
    QVERIFY(running_look);
    QCOMPARE(last, 10);
    QCOMPARE(d.StatusText(), QStringLiteral("Disk copy not complete due to error."));
    QVERIFY(!QFile::exists(image));
    QVERIFY(d.isVisible());
    QVERIFY(d.CopyButton()->isEnabled());
    disconnect(connection);

    // Esc during a copy stops it too, and the dialog stays open.
    connect(&d, &CCopyDiskDlg::progressMoved, &d, [&](int pos) {
      if (pos == 20) QTest::keyClick(&d, Qt::Key_Escape);
    });
    QCOMPARE(d.Copy(), kelvo::kDiskCopyStopped);
    QVERIFY(d.isVisible());
    QVERIFY(!QFile::exists(image));
    QVERIFY(shell.ui.asks.empty());
  }

  void BrowseTakesOnlyDiskImageFiles() {
    // UNFINISHED: in full parallel ctest runs this test has waited for ever
    // inside the file dialog's exec() (not reproduced alone or under load);
    // skipped until the cause is found.
    if (qEnvironmentVariableIsEmpty("KDISK_RUN_FILE_DIALOG_TESTS"))
      QSKIP("waits for ever in parallel ctest runs; set KDISK_RUN_FILE_DIALOG_TESTS=1 to run");
    QTemporaryDir dir;
    MakeFile(dir.path(), "notes.txt", 10);
    QVERIFY(MakeImage(dir.filePath("disk.kdi"), {}));
    Shell shell;
    shell.Start(dir.path());
    CCopyDiskDlg d(shell.ctx, {}, {}, shell.frame.get());
    d.show();
    // Without floppy drives both sides are files.
    QVERIFY(d.Source().use_file->isChecked());
    QVERIFY(!d.Source().use_drive->isEnabled());

    QStringList filters;
    WhenModal<QFileDialog>([&](QFileDialog* f) {
      filters = f->nameFilters();
      f->selectFile(dir.filePath("notes.txt"));
      static_cast<QDialog*>(f)->accept();
    });
    d.Source().browse->click();
    QCOMPARE(filters.value(0), QStringLiteral("Kelvo Disk Image Files (.kdi) (*.kdi)"));
    QVERIFY(filters.value(1).contains(QLatin1String("*.HFE")) && filters.value(1).contains(QLatin1String("*.SCP")));
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"The specified file type is invalid"});
    QCOMPARE(d.Source().file->text(), QString());

    WhenModal<QFileDialog>([&](QFileDialog* f) {
      f->selectFile(dir.filePath("disk.kdi"));
      static_cast<QDialog*>(f)->accept();
    });
    d.Source().browse->click();
    QCOMPARE(QDir::fromNativeSeparators(d.Source().file->text()), dir.filePath("disk.kdi"));
    QCOMPARE(shell.ui.asks.size(), size_t{1});
  }

  void DriveInformationMarksTheFormatsOfEachDrive() {
    FloppyShell f(DriveB::FiveAndQuarter, false);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    bool shown = false;
    WhenModal<CFloppyDriveInfoDlg>([&](CFloppyDriveInfoDlg* d) {
      shown = true;
      QCOMPARE(d->windowTitle(), QStringLiteral("Floppy Drive Information"));
      QCOMPARE(CFloppyDriveInfoDlg::RowText(0), QStringLiteral("3.5-inch 720k"));
      QCOMPARE(CFloppyDriveInfoDlg::RowText(3), QStringLiteral("5.25-inch 1.2Mb"));
      // A: is a 3.5-inch drive, B: a 5.25-inch one.
      const bool expected[4][2] = {{true, false}, {true, false}, {false, true}, {false, true}};
      for (int row = 0; row < 4; ++row)
        for (int drive = 0; drive < 2; ++drive)
          QCOMPARE(d->Marked(row, drive), expected[row][drive]);
      d->accept();
    });
    shell.frame->RunCommand(Cmd::DiskDriveInfo);
    QVERIFY(shown);

    // A drive whose device cannot be used contributes nothing.
    CFloppyDriveInfoDlg unusable({QStringLiteral("emu:"), QString()});
    for (int row = 0; row < 4; ++row)
      QVERIFY(!unusable.Marked(row, 0) && !unusable.Marked(row, 1));
  }

  void ScreenshotsOfTheFloppyWindowAndDialogs() {
    FloppyShell f(DriveB::FiveAndQuarter);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    CFloppyWindow* floppy = f.OpenA();
    floppy->parentWidget()->resize(640, 360);
    QCoreApplication::processEvents();
    const QString window_png = OutputPath("kdisk_floppy_window.png");
    QVERIFY(floppy->grab().save(window_png));

    const QString format_png = OutputPath("kdisk_format_dialog.png");
    WithFormatDialog(shell, [&](CFormatDlg* d) { QVERIFY(d->grab().save(format_png)); });
    CCopyDiskDlg copy(shell.ctx, FloppyEntries(shell.frame->Devices()), {}, shell.frame.get());
    copy.show();
    const QString copy_png = OutputPath("kdisk_copy_disk_dialog.png");
    QVERIFY(copy.grab().save(copy_png));
    for (const QString& png : {window_png, format_png, copy_png}) {
      const QImage shot(png);
      QVERIFY2(!shot.isNull() && shot.width() > 100 && shot.height() > 100, qPrintable(png));
    }
  }
};

QTEST_MAIN(DiskDialogsTest)
#include "disk_dialogs_test.moc"
