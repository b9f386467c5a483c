// The tape window on tape images (listing, its failures, Esc, the selection
// rule, the saved and printed list with its Tape ID) and the Tape menu
// (Initialise, Erase, Load, Unload, Rewind, Retension, List, Drive
// Information, Save and Write Tape Image with Abort) with its drive question
// and the greying while tape work runs.
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QPrinter>
#include <QRegularExpression>
#include <QToolButton>

#include "core/error_text.h"
#include "gui/dialogs/tape_drive_info_dialog.h"
#include "gui/dialogs/select_tape_drive_dialog.h"
#include "gui/dialogs/tape_id_dialog.h"
#include "gui/windows/device_bar.h"
#include "gui/windows/listing.h"
#include "gui/windows/tape_window.h"
#include "support/tape_builder.h"
#include "support/tape_fixture.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// A main window with Tape0 and Tape1 bound to image files t0.tap and t1.tap
// in a fresh folder (or Tape0 to `device0`).
struct TapeShell {
  QTemporaryDir dir;
  QString tape0 = dir.filePath("t0.tap");
  QString tape1 = dir.filePath("t1.tap");
  Shell shell;
  explicit TapeShell(const QString& device0 = {})
      : shell({{"Tape0", device0.isEmpty() ? tape0 : device0, true, true}, {"Tape1", tape1, true, true}}) {
    shell.Start(dir.path());
  }
  CMainFrame& Frame() { return *shell.frame; }
  CTapeWindow* PressTapeButton() {
    Frame().DeviceBar()->Buttons().first()->click();
    return FindTapeWindow(Frame().Windows(), "Tape0");
  }
  // Answers the drive question with the drive at `index`, or Cancel.
  void ChooseDrive(int index) {
    shell.modals.Expect<CSelectTapeDriveDlg>([index](CSelectTapeDriveDlg* d) {
      if (index < 0) return d->reject();
      d->Drives()->setCurrentIndex(index);
      d->accept();
    });
  }
};

// While it lives, presses Abort in the tape imaging progress window the
// moment the window is shown.
class AbortImagingWhenShown : public QObject {
 public:
  AbortImagingWhenShown() { qApp->installEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    auto* d = qobject_cast<QProgressDialog*>(o);
    if (e->type() == QEvent::Show && d && d->objectName() == QStringLiteral("TapeImagingProgress")) {
      d->findChild<QPushButton*>()->click();
      ++pressed;
    }
    return false;
  }
  int pressed = 0;
};

QStringList Column(const CChildFrameWindow* w, int column) {
  QStringList out;
  for (int r = 0; r < w->Model()->rowCount(); ++r) out << w->Model()->CellText(r, column);
  return out;
}

std::vector<TapeFileSpec> ThreeFiles() {
  return {BinaryTapeFile("REPORT", "FNT", 4096, 1), SourceTapeFile("JOB1", "JSL", {"START", "PRINT A", "END"}),
          BinaryTapeFile("LOGO", "IMG", 1024, 2)};
}

const Cmd kTapeCommands[] = {Cmd::TapeList, Cmd::TapeRestore, Cmd::TapeInit, Cmd::TapeErase, Cmd::TapeLoad,
                             Cmd::TapeUnload, Cmd::TapeRewind, Cmd::TapeRetension, Cmd::TapeDriveInfo};

}  // namespace

class TapeWindowTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void TapeButtonOpensTheWindowAndListsTheTape() {
    TapeShell t;
    std::vector<TapeFileSpec> files = ThreeFiles();
    files.insert(files.begin() + 1, BinaryTapeFile("CON", "FNT", 512, 3));  // a reserved device name
    QVERIFY(WriteLabelledTapeImage(t.tape0, files));
    CTapeWindow* tape = t.PressTapeButton();
    QVERIFY(tape);
    QCOMPARE(t.Frame().Windows().ActiveExplorer(), tape);
    QVERIFY(t.shell.ui.asks.empty());
    QCOMPARE(Names(tape), (QStringList{"REPORT.FNT", "CON.FNT", "JOB1.JSL", "LOGO.IMG"}));
    QCOMPARE(Column(tape, 3), (QStringList{"1", "2", "3", "4"}));
    tape->ListView()->SelectAll();  // the reserved name refuses selection
    QCOMPARE(tape->ListView()->SelectedNames(), (QStringList{"REPORT.FNT", "JOB1.JSL", "LOGO.IMG"}));
    // Sorting by a column, and back to tape order by the fourth key.
    tape->Model()->sort(0);
    QCOMPARE(Names(tape).first(), QStringLiteral("CON.FNT"));
    t.Frame().Action(Cmd::ByDate)->trigger();
    QCOMPARE(Names(tape).first(), QStringLiteral("REPORT.FNT"));
    // Tape files are neither deleted nor renamed.
    tape->ListView()->SelectAll();
    t.Frame().RunCommand(Cmd::Delete);
    QCOMPARE(t.shell.ui.Texts(), std::vector<std::string>{"Cannot delete tape files."});
    t.Frame().OnIdle();
    QVERIFY(!t.Frame().Action(Cmd::Rename)->isEnabled());
    // The button again brings the same window forward and reads the tape again.
    QVERIFY(WriteLabelledTapeImage(t.tape0, ThreeFiles()));
    QCOMPARE(t.PressTapeButton(), tape);
    QCOMPARE(Names(tape).size(), 3);
    tape->ClearList();
    QVERIFY(Names(tape).isEmpty());
    t.Frame().RunCommand(Cmd::Refresh);
    QCOMPARE(Names(tape).size(), 3);
    QVERIFY(!tape->Busy() && !t.shell.ctx.app.TapeBusy);
  }

  void MissingDriveAndDamagedTapeAreReportedOnce() {
    TapeShell t(QStringLiteral("/no/such/folder/t.tap"));
    CTapeWindow* tape = t.PressTapeButton();
    QVERIFY(tape);
    QCOMPARE(t.shell.ui.Texts(), std::vector<std::string>{"The tape drive is either not present or is in use."});
    QVERIFY(Names(tape).isEmpty() && !tape->Busy());
    // A record cut short after the first file: that file stays listed.
    QVERIFY(WriteLabelledTapeImage(t.tape0, ThreeFiles()));
    const QByteArray whole = ReadAll(t.tape0);
    QVERIFY(QFile::resize(t.tape0, whole.indexOf("JOB1") + 20));
    t.shell.ctx.app.Bindings.tape[0] = t.tape0.toStdString();
    t.shell.ui.asks.clear();
    QCOMPARE(tape->ListTape(), ErrorCode{ERR_CRC});
    QCOMPARE(Names(tape), QStringList{"REPORT.FNT"});
    QCOMPARE(t.shell.ui.Texts(), std::vector<std::string>{GetErrorText(ERR_CRC)});
    QVERIFY(!tape->Busy() && !t.shell.ctx.app.TapeBusy && !QApplication::overrideCursor());
  }

  void EscAbortsALongListingAndTheWindowsStayOpen() {
    TapeShell t;
    QVERIFY(WriteLabelledTapeImage(t.tape0, FontFiles(40, 512)));
    CTapeWindow* tape = OpenTapeWindow(t.Frame().Windows(), "Tape0", false);
    QMdiSubWindow* sub = t.Frame().MdiArea()->activeSubWindow();
    int pumps = 0;
    bool busy_look = false, closed = true;
    t.shell.ui.on_pump = [&] {
      if (++pumps != 5) return;
      busy_look = tape->ListingRunning() && tape->Busy() && t.shell.ctx.app.TapeBusy;
      sub->close();
      t.Frame().close();
      closed = !t.Frame().isVisible() || !sub->isVisible();
      QTest::keyClick(&t.Frame(), Qt::Key_Escape);
    };
    QCOMPARE(tape->ListTape(), ErrorCode{ERR_TAPE_RESTORE_CANCELLED});
    QVERIFY(busy_look && !closed);
    QCOMPARE(t.shell.ui.Texts(), std::vector<std::string>{"Tape list aborted."});
    QVERIFY(Names(tape).isEmpty() && !tape->Busy() && !t.shell.ctx.app.TapeBusy);
    QVERIFY(!QApplication::overrideCursor());
    t.shell.ui.on_pump = nullptr;
    QCOMPARE(tape->ListTape(), ErrorCode{0});  // the next listing reads all
    QCOMPARE(Names(tape).size(), 40);
    // A command on the drive holds its window.
    tape->SetCommandRunning(true);
    QVERIFY(!tape->isEnabled() && !sub->close());
    QCOMPARE(tape->ListTape(), ErrorCode{0});  // refused: the list stays
    QCOMPARE(Names(tape).size(), 40);
    tape->SetCommandRunning(false);
    QVERIFY(sub->close());
  }

  void ListIsSavedAndPrintedUnderItsTapeId() {
    TapeShell t;
    QVERIFY(WriteLabelledTapeImage(t.tape0, ThreeFiles()));
    CTapeWindow* tape = t.PressTapeButton();
    QVERIFY(tape);
    const QString out = t.dir.filePath("tape.lst");
    QVERIFY(t.Frame().Documents().SaveFileListTo(out));
    const QStringList lines = QString::fromUtf8(ReadAll(out)).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("Listing of files contained on: Tape0"));
    QVERIFY(lines[2].contains(QRegularExpression("^Seq\\. No\\. +Name +Size +Description$")));
    QVERIFY(lines[3].contains(QRegularExpression("^ +1 +REPORT\\.FNT +4,096 +Font File")));
    // Printing asks for the Tape ID: Cancel prints nothing, OK heads the list with it.
    tape->SetTapeId("VOL-1");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = t.dir.filePath("list.pdf");
    printer.setOutputFileName(pdf);
    for (bool ok : {false, true}) {
      t.shell.modals.Expect<CTapeIdDlg>([ok](CTapeIdDlg* d) {
        QCOMPARE(d->Field()->text(), QStringLiteral("VOL-1"));
        d->Field()->setText("ARCHIVE 2026/12");
        ok ? d->accept() : d->reject();
      });
      QCOMPARE(tape->PrintList(printer), ok);
      QCOMPARE(QFile::exists(pdf), ok);
    }
    QCOMPARE(MakeListing(*tape, QDateTime::currentDateTime()).heading,
             QStringLiteral("Listing of files contained on: ARCHIVE 2026/12"));
    QVERIFY(ReadAll(pdf).startsWith("%PDF-"));
  }

  void InitialiseEraseLoadAndUnloadClearTheDrivesWindow() {
    TapeShell t;
    kelvo::test::TapeImageBuilder data;
    data.Record(std::string(1024, 'x')).Filemark().Filemark();
    data.WriteTo(t.tape0.toStdString());
    QVERIFY(WriteLabelledTapeImage(t.tape1, ThreeFiles()));
    CTapeWindow* other = OpenTapeWindow(t.Frame().Windows(), "Tape1");
    CTapeWindow* window = OpenTapeWindow(t.Frame().Windows(), "Tape0", false);
    for (Cmd cmd : {Cmd::TapeLoad, Cmd::TapeUnload, Cmd::TapeErase, Cmd::TapeInit}) {
      window->Model()->SetRows(std::vector<FileRow>(1));
      t.Frame().MdiArea()->setActiveSubWindow(t.Frame().MdiArea()->subWindowList().first());
      t.ChooseDrive(0);
      t.Frame().RunCommand(cmd);
      QVERIFY(t.shell.ui.asks.empty() && window->isEnabled());
      if (cmd != Cmd::TapeErase) QVERIFY(window->Model()->Rows().empty());
      if (cmd == Cmd::TapeUnload) QCOMPARE(ReadAll(t.tape0), QByteArray::fromStdString(data.Bytes()));  // not touched
    }
    QCOMPARE(ReadAll(t.tape0), QByteArray(8, '\0'));  // initialised: two filemarks, nothing else
    QCOMPARE(Names(other).size(), 3);
    // Cancel at the drive question does nothing.
    QFile::remove(t.tape0);
    t.ChooseDrive(-1);
    t.Frame().RunCommand(Cmd::TapeInit);
    QVERIFY(!QFile::exists(t.tape0));
  }

  void FailuresAreReportedOnceWithTheWindowHeld() {
    TapeShell t(QStringLiteral("/no/such/folder/t.tap"));
    for (Cmd cmd : {Cmd::TapeLoad, Cmd::TapeUnload, Cmd::TapeInit, Cmd::TapeErase, Cmd::TapeRewind, Cmd::TapeRetension}) {
      t.shell.ui.asks.clear();
      t.ChooseDrive(0);
      t.Frame().RunCommand(cmd);
      const bool silent = cmd == Cmd::TapeRewind || cmd == Cmd::TapeRetension;  // never report
      QCOMPARE(t.shell.ui.Texts(), silent ? std::vector<std::string>{}
                                          : std::vector<std::string>{"The tape drive is either not present or is in use."});
    }
    // A write-protected tape: Retry and Cancel, the window disabled and the
    // wait cursor up while the question is asked.
    TapeShell u;
    MakeFiles(u.dir.path(), {"t0.tap"}, 0);
    QFile::setPermissions(u.tape0, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    CTapeWindow* window = OpenTapeWindow(u.Frame().Windows(), "Tape0", false);
    std::vector<bool> held;
    u.shell.ui.on_ask = [&](const std::string&) {
      held.push_back(!window->isEnabled() && QApplication::overrideCursor() &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor);
    };
    u.shell.ui.answers = {Button::Retry, Button::Cancel};
    u.ChooseDrive(0);
    u.Frame().MdiArea()->setActiveSubWindow(u.Frame().MdiArea()->subWindowList().first());
    u.Frame().RunCommand(Cmd::TapeInit);
    QCOMPARE(u.shell.ui.Texts(), std::vector<std::string>(2, "The media is write protected."));
    QCOMPARE(held, (std::vector<bool>{true, true}));
    QVERIFY(!QApplication::overrideCursor() && window->isEnabled());
    QCOMPARE(ReadAll(u.tape0).size(), 0);
  }

  void CommandsUseTheActiveTapeWindowsDrive() {
    TapeShell t;
    QVERIFY(WriteLabelledTapeImage(t.tape1, ThreeFiles()));
    MakeFiles(t.dir.path(), {"t0.tap"}, 0);
    // With the window of Tape1 active: List reads it, Rewind and Retension
    // ask nothing (the script fails the test on any dialog).
    CTapeWindow* window = OpenTapeWindow(t.Frame().Windows(), "Tape1", false);
    t.Frame().RunCommand(Cmd::TapeList);
    QCOMPARE(Names(window).size(), 3);
    t.Frame().RunCommand(Cmd::TapeRewind);
    t.Frame().RunCommand(Cmd::TapeRetension);
    // With the PC window active both ask for a drive; with no window only Retension.
    t.Frame().MdiArea()->setActiveSubWindow(t.Frame().MdiArea()->subWindowList().first());
    t.ChooseDrive(-1);
    t.Frame().RunCommand(Cmd::TapeRewind);
    t.ChooseDrive(-1);
    t.Frame().RunCommand(Cmd::TapeRetension);
    t.Frame().MdiArea()->closeAllSubWindows();
    t.Frame().RunCommand(Cmd::TapeRewind);
    t.ChooseDrive(-1);
    t.Frame().RunCommand(Cmd::TapeRetension);
    QCOMPARE(t.shell.modals.Pending(), 0);
    QVERIFY(t.shell.ui.asks.empty());
    // Retain Tape Labels is a toggle of the settings.
    const int before = t.shell.ctx.settings.RetainTapeLabels;
    t.Frame().RunCommand(Cmd::RetainTapeLabels);
    QCOMPARE(t.shell.ctx.settings.RetainTapeLabels, before ? 0 : 1);
  }

  void DriveInformationOfATapeImage() {
    TapeShell t(QStringLiteral("/no/such/folder/t.tap"));
    MakeFiles(t.dir.path(), {"t1.tap"}, 0);
    for (int index : {1, -1}) {  // Tape1; then Cancel, which keeps the drive chosen last
      t.ChooseDrive(index);
      t.shell.modals.Expect<CTapeDriveInfoDlg>([](CTapeDriveInfoDlg* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Drive Information for Tape1"));
        QVERIFY(d->FieldText(1102).toInt() >= 16384);  // the largest block: a QVA tape block fits
        QVERIFY(d->FeatureMarked(1026) && d->FeatureMarked(1103));  // variable blocks, filemarks
        QVERIFY(!d->FeatureMarked(1025) && !d->FeatureMarked(1106));  // fixed blocks, setmarks
        d->reject();
      });
      t.Frame().RunCommand(Cmd::TapeDriveInfo);
    }
    // A drive that cannot be opened leaves the dialog empty.
    t.ChooseDrive(0);
    t.shell.modals.Expect<CTapeDriveInfoDlg>([](CTapeDriveInfoDlg* d) {
      QCOMPARE(d->FieldText(1100), QString());
      QVERIFY(!d->FeatureMarked(1026));
      d->reject();
    });
    t.Frame().RunCommand(Cmd::TapeDriveInfo);
  }

  void TapeImagesAreSavedAndWrittenAndAbortKeepsWholeItems() {
    TapeShell t;
    t.shell.modals.Allow<QProgressDialog>();
    kelvo::test::TapeImageBuilder source;
    source.Record(std::string(1000, 'a')).Record(std::string(77, '\xff')).Filemark().Filemark()
        .Record(std::string(65536, 'c')).Filemark();
    source.WriteTo(t.tape0.toStdString());
    const QByteArray records = QByteArray::fromStdString(source.Bytes());
    QString message;
    // Runs `cmd` on drive `drive` with `file` chosen in the file dialog.
    auto run = [&](Cmd cmd, int drive, const QString& file) {
      t.ChooseDrive(drive);
      t.shell.modals.Expect<QFileDialog>([&](QFileDialog* d) {
        // Typed into the name field, as selectFile() leaves it alone once
        // the field has the focus.
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file);
        static_cast<QDialog*>(d)->accept();  // QFileDialog's own checks run
      });
      t.shell.modals.Expect<QMessageBox>([&](QMessageBox* m) {
        message = m->text();
        m->accept();
      });
      t.Frame().RunCommand(cmd);
      QCOMPARE(t.shell.modals.Pending(), 0);
      QVERIFY(t.shell.ui.asks.empty());
    };
    const QString image = t.dir.filePath(QStringLiteral("saved.tap"));
    run(Cmd::TapeSaveImage, 0, image);
    QCOMPARE(ReadAll(image), records);
    QCOMPARE(message, QStringLiteral("3 record(s), 3 filemark(s), 66613 bytes"));
    QVERIFY(QFile(t.tape1).open(QIODevice::WriteOnly));  // a blank tape in Tape1
    run(Cmd::TapeWriteImage, 1, image);
    QCOMPARE(ReadAll(t.tape1), records);

    // Abort: the run stops before its first item. A saved image keeps the
    // whole items read before the abort (here none) and is finished under
    // its name, with no partial file left; a tape gets nothing more.
    AbortImagingWhenShown abort;
    const QString aborted = t.dir.filePath(QStringLiteral("aborted.tap"));
    run(Cmd::TapeSaveImage, 0, aborted);
    QCOMPARE(abort.pressed, 1);
    QVERIFY(message.endsWith(QStringLiteral("Aborted: the image ends where the run stopped.")));
    QCOMPARE(ReadAll(aborted), QByteArray());
    QVERIFY(QFile::exists(aborted) && !QFile::exists(aborted + QStringLiteral(".part")));
    QVERIFY(QFile(t.tape1).open(QIODevice::WriteOnly));
    run(Cmd::TapeWriteImage, 1, image);
    QCOMPARE(abort.pressed, 2);
    QVERIFY(message.startsWith(QStringLiteral("0 record(s), 0 filemark(s), 0 bytes\nAborted")));
    QCOMPARE(ReadAll(t.tape1), QByteArray());
  }

  void TapeCommandsAreGreyedWhileTapeWorkRuns() {
    TapeShell t;
    CMainFrame& f = t.Frame();
    f.OnIdle();
    for (Cmd cmd : kTapeCommands) QVERIFY(f.Action(cmd)->isEnabled());
    t.shell.ctx.app.TapeBusy = true;
    f.OnIdle();
    for (Cmd cmd : kTapeCommands) QVERIFY(!f.Action(cmd)->isEnabled());
    f.RunCommand(Cmd::TapeInit);  // still arriving: no drive question, nothing done
    QVERIFY(!f.close());
    t.shell.ctx.app.TapeBusy = false;
    f.OnIdle();
    QVERIFY(f.Action(Cmd::TapeInit)->isEnabled());
  }
};

QTEST_MAIN(TapeWindowTest)
#include "tape_window_test.moc"
