// The tape window on tape images and the Tape menu: its drive question,
// failures, Esc and Abort, and the greying while tape work runs.
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QToolButton>

#include "gui/dialogs/select_tape_drive_dialog.h"
#include "gui/dialogs/tape_drive_info_dialog.h"
#include "gui/dialogs/tape_id_dialog.h"
#include "gui/windows/device_bar.h"
#include "gui/windows/listing.h"
#include "support/tape_builder.h"
#include "support/tape_fixture.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

CTapeWindow* PressTapeButton(TapeDesk& t) {
  t.Frame().DeviceBar()->Buttons().first()->click();
  return FindTapeWindow(t.Frame().Windows(), "Tape0");
}

std::vector<TapeFileSpec> ThreeFiles() {
  return {BinaryTapeFile("REPORT", "FNT", 4096, 1), SourceTapeFile("JOB1", "JSL", {"START", "PRINT A", "END"}),
          BinaryTapeFile("LOGO", "IMG", 1024, 2)};
}

// Answers the next drive question with the drive at `index`, or Cancel.
void ChooseDrive(TapeDesk& t, int index) {
  t.shell.modals.Expect<CSelectTapeDriveDlg>([index](CSelectTapeDriveDlg* d) {
    if (index < 0) return d->reject();
    d->Drives()->setCurrentIndex(index);
    d->accept();
  });
}

}  // namespace

class TapeWindowTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void TapeButtonOpensTheWindowThatListsPrintsAndAbortsByEsc() {
    TapeDesk t;
    std::vector<TapeFileSpec> files = ThreeFiles();
    files.insert(files.begin() + 1, BinaryTapeFile("CON", "FNT", 512, 3));  // a reserved device name
    QVERIFY(WriteLabelledTapeImage(t.tape0, files));
    CTapeWindow* tape = PressTapeButton(t);
    QVERIFY(tape);
    QCOMPARE(t.Frame().Windows().ActiveExplorer(), tape);
    QVERIFY(t.Asked().empty());
    QCOMPARE(Names(tape), (QStringList{"REPORT.FNT", "CON.FNT", "JOB1.JSL", "LOGO.IMG"}));
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
    QCOMPARE(t.Asked(), std::vector<std::string>{"Cannot delete tape files."});
    t.Frame().OnIdle();
    QVERIFY(!t.Frame().Action(Cmd::Rename)->isEnabled());
    // The button again brings the same window forward and reads the tape again.
    QVERIFY(WriteLabelledTapeImage(t.tape0, ThreeFiles()));
    QCOMPARE(PressTapeButton(t), tape);
    QCOMPARE(Names(tape).size(), 3);
    tape->ClearList();
    QVERIFY(Names(tape).isEmpty());
    t.Frame().RunCommand(Cmd::Refresh);
    QCOMPARE(Names(tape).size(), 3);
    QVERIFY(!tape->Busy() && !t.shell.ctx.app.TapeBusy);
    // Esc aborts a long listing; meanwhile the windows and the commands wait.
    QVERIFY(WriteLabelledTapeImage(t.tape0, FontFiles(40, 512)));
    QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(tape->parentWidget());
    t.shell.ui.asks.clear();
    int pumps = 0;
    bool busy_look = false, closed = true;
    t.shell.ui.on_pump = [&] {
      if (++pumps != 5) return;
      busy_look = tape->ListingRunning() && tape->Busy() && t.shell.ctx.app.TapeBusy;
      t.Frame().RunCommand(Cmd::TapeInit);  // greyed: no drive question, nothing done
      sub->close();
      t.Frame().close();
      closed = !t.Frame().isVisible() || !sub->isVisible();
      QTest::keyClick(&t.Frame(), Qt::Key_Escape);
    };
    QCOMPARE(tape->ListTape(), ErrorCode{ERR_TAPE_RESTORE_CANCELLED});
    QVERIFY(busy_look && !closed);
    QCOMPARE(t.Asked(), std::vector<std::string>{"Tape list aborted."});
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
    QVERIFY(sub->close());
  }

  void FailuresAreReportedOnceWithTheWindowHeld() {
    TapeDesk t(QStringLiteral("/no/such/folder/t.tap"));
    MakeFiles(t.dir.path(), {"t1.tap"}, 0);
    for (Cmd cmd : {Cmd::TapeLoad, Cmd::TapeUnload, Cmd::TapeInit, Cmd::TapeErase, Cmd::TapeRewind, Cmd::TapeRetension}) {
      t.shell.ui.asks.clear();
      ChooseDrive(t, 0);
      t.Frame().RunCommand(cmd);
      const bool silent = cmd == Cmd::TapeRewind || cmd == Cmd::TapeRetension;  // never report
      QCOMPARE(t.Asked().size(), silent ? 0u : 1u);
    }
    // Drive information of Tape1; then Cancel, which keeps the drive chosen last.
    for (int index : {1, -1}) {
      ChooseDrive(t, index);
      t.shell.modals.Expect<CTapeDriveInfoDlg>([](CTapeDriveInfoDlg* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Drive Information for Tape1"));
        d->reject();
      });
      t.Frame().RunCommand(Cmd::TapeDriveInfo);
    }
    // The drive's button opens its window empty.
    t.shell.ui.asks.clear();
    CTapeWindow* tape = PressTapeButton(t);
    QVERIFY(tape);
    QCOMPARE(t.Asked(), std::vector<std::string>{"The tape drive is either not present or is in use."});
    QVERIFY(Names(tape).isEmpty() && !tape->Busy() && !QApplication::overrideCursor());
    // A write-protected tape: Retry and Cancel, the window disabled and the
    // wait cursor up while the question is asked.
    TapeDesk u;
    MakeFiles(u.dir.path(), {"t0.tap"}, 0);
    QFile::setPermissions(u.tape0, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    CTapeWindow* window = OpenTapeWindow(u.Frame().Windows(), "Tape0", false);
    std::vector<bool> held;
    u.shell.ui.on_ask = [&](const std::string&) {
      held.push_back(!window->isEnabled() && QApplication::overrideCursor() &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor);
    };
    u.shell.ui.answers = {Button::Retry, Button::Cancel};
    ChooseDrive(u, 0);
    u.Frame().MdiArea()->setActiveSubWindow(u.Frame().MdiArea()->subWindowList().first());
    u.Frame().RunCommand(Cmd::TapeInit);
    QCOMPARE(u.Asked(), std::vector<std::string>(2, "The media is write protected."));
    QCOMPARE(held, (std::vector<bool>{true, true}));
    QVERIFY(!QApplication::overrideCursor() && window->isEnabled());
  }

  // Rewind and Retension ask nothing with a tape window active, List reads
  // it; from the PC window the commands ask for the drive and clear the
  // window of the drive chosen.
  void CommandsUseTheActiveTapeWindowsDrive() {
    TapeDesk t;
    kelvo::test::TapeImageBuilder data;
    data.Record(std::string(1024, 'x')).Filemark().Filemark();
    data.WriteTo(t.tape0.toStdString());
    QVERIFY(WriteLabelledTapeImage(t.tape1, ThreeFiles()));
    CTapeWindow* other = OpenTapeWindow(t.Frame().Windows(), "Tape1", false);
    t.Frame().RunCommand(Cmd::TapeList);
    QCOMPARE(Names(other).size(), 3);
    t.Frame().RunCommand(Cmd::TapeRewind);  // the script fails the test on any dialog
    t.Frame().RunCommand(Cmd::TapeRetension);
    CTapeWindow* window = OpenTapeWindow(t.Frame().Windows(), "Tape0", false);
    QMdiSubWindow* pc = t.Frame().MdiArea()->subWindowList().first();
    for (Cmd cmd : {Cmd::TapeLoad, Cmd::TapeUnload, Cmd::TapeErase, Cmd::TapeInit}) {
      window->Model()->SetRows(std::vector<FileRow>(1));
      t.Frame().MdiArea()->setActiveSubWindow(pc);
      ChooseDrive(t, 0);
      t.Frame().RunCommand(cmd);
      QVERIFY(t.Asked().empty() && window->isEnabled());
      if (cmd != Cmd::TapeErase) QVERIFY(window->Model()->Rows().empty());
    }
    QCOMPARE(ReadAll(t.tape0), QByteArray(8, '\0'));  // initialised: two filemarks, nothing else
    QCOMPARE(Names(other).size(), 3);
    // Cancel at the drive question does nothing; with no window only Retension asks.
    QFile::remove(t.tape0);
    t.Frame().MdiArea()->setActiveSubWindow(pc);
    for (Cmd cmd : {Cmd::TapeInit, Cmd::TapeRewind, Cmd::TapeRetension}) {
      ChooseDrive(t, -1);
      t.Frame().RunCommand(cmd);
    }
    QVERIFY(!QFile::exists(t.tape0));
    t.Frame().MdiArea()->closeAllSubWindows();
    t.Frame().RunCommand(Cmd::TapeRewind);
    ChooseDrive(t, -1);
    t.Frame().RunCommand(Cmd::TapeRetension);
    QVERIFY(t.Asked().empty());  // and the script fails the test on a question that never came
    // Retain Tape Labels is a toggle of the settings.
    const int before = t.shell.ctx.settings.RetainTapeLabels;
    t.Frame().RunCommand(Cmd::RetainTapeLabels);
    QCOMPARE(t.shell.ctx.settings.RetainTapeLabels, before ? 0 : 1);
  }

  // The imaging itself is the tape tests'; here the menu reaches it through
  // the drive question, the file dialog and the closing message, and Abort
  // in its progress window ends it.
  void TapeImagesAreSavedAndWrittenFromTheMenu() {
    TapeDesk t;
    t.shell.modals.Allow<QProgressDialog>();
    kelvo::test::TapeImageBuilder source;
    source.Record(std::string(1000, 'a')).Record(std::string(77, '\xff')).Filemark().Filemark();
    source.WriteTo(t.tape0.toStdString());
    QString message;
    auto run = [&](Cmd cmd, int drive, const QString& file) {
      ChooseDrive(t, drive);
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
      QVERIFY(t.Asked().empty());
    };
    const QString image = t.dir.filePath(QStringLiteral("saved.tap"));
    run(Cmd::TapeSaveImage, 0, image);
    QCOMPARE(ReadAll(image), QByteArray::fromStdString(source.Bytes()));
    QVERIFY(QFile(t.tape1).open(QIODevice::WriteOnly));  // a blank tape in Tape1
    run(Cmd::TapeWriteImage, 1, image);
    QCOMPARE(ReadAll(t.tape1), QByteArray::fromStdString(source.Bytes()));
    // Abort pressed the moment the progress window shows.
    struct AbortWhenShown : QObject {
      bool eventFilter(QObject* o, QEvent* e) override {
        auto* d = qobject_cast<QProgressDialog*>(o);
        if (e->type() == QEvent::Show && d && d->objectName() == QStringLiteral("TapeImagingProgress"))
          d->findChild<QPushButton*>()->click();
        return false;
      }
    } abort;
    qApp->installEventFilter(&abort);
    const QString aborted = t.dir.filePath(QStringLiteral("aborted.tap"));
    run(Cmd::TapeSaveImage, 0, aborted);
    qApp->removeEventFilter(&abort);
    QVERIFY(message.endsWith(QStringLiteral("Aborted: the image ends where the run stopped.")));
    QCOMPARE(ReadAll(aborted), QByteArray());
  }
};

QTEST_MAIN(TapeWindowTest)
#include "tape_window_test.moc"
