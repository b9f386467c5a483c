// The Tape menu on tape image files: Initialise, Erase, Load, Rewind,
// Retension and Drive Information with their drive question and the tape
// window's handling, the QVA restore with its progress window (volumes,
// abort), and the greying of every tape command while tape work runs.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/windows/child_frame_window.h"
#include "gui/windows/qva_restore_dialog.h"
#include "gui/dialogs/tape_drive_info_dialog.h"
#include "gui/dialogs/select_tape_drive_dialog.h"
#include "gui/dialogs/tape_restore_dialog.h"
#include "support/gui_fixture.h"
#include "support/qva_tape_builder.h"
#include "support/tape_builder.h"
#include "support/tape_dialog_fixture.h"
#include "tape/tape_features.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// A tape explorer window as the Tape menu sees one: its drive, a list.
class TapeWindowDouble : public CChildFrameWindow {
 public:
  TapeWindowDouble(ShellContext& ctx, QString drive) : CChildFrameWindow(ctx, PlaceKind::Tape), drive_(drive) {
    std::vector<FileRow> rows(2);
    rows[0].name = QStringLiteral("REPORT.FNT");
    rows[1].name = QStringLiteral("JOB.CMD");
    Model()->SetRows(rows);
  }
  QString PlaceText() const override { return drive_; }
  void Refresh() override { ++refreshed; }
  QString ListingHeadingText() const override { return QStringLiteral("Listing of files contained on:"); }
  int refreshed = 0;

 protected:
  ErrorCode DoDelete(const QStringList&) override { return 0; }
  ErrorCode DoRename(const QString&, const QString&) override { return 0; }

 private:
  QString drive_;
};

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// While it lives, answers "Select Tape Drive" with the drive at `index`, or
// Cancel.
using DriveAnswer = std::unique_ptr<WhenShown<CSelectTapeDriveDlg>>;
DriveAnswer ChooseDrive(int index) {
  return std::make_unique<WhenShown<CSelectTapeDriveDlg>>([index](CSelectTapeDriveDlg* d) {
    if (index < 0) {
      d->reject();
      return;
    }
    d->Drives()->setCurrentIndex(index);
    d->accept();
  });
}

const Cmd kTapeCommands[] = {Cmd::TapeList, Cmd::TapeRestore, Cmd::TapeInit, Cmd::TapeErase,
                             Cmd::TapeLoad, Cmd::TapeUnload, Cmd::TapeRewind, Cmd::TapeRetension,
                             Cmd::TapeDriveInfo};

// A main window with two tape drives bound to image files in a fresh folder.
struct TapeShell {
  QTemporaryDir dir;
  PumpingInteraction ui;
  std::unique_ptr<Shell> shell;
  QString tape0 = dir.filePath(QStringLiteral("t0.tap"));
  QString tape1 = dir.filePath(QStringLiteral("t1.tap"));

  explicit TapeShell(QString device0 = QString()) {
    if (device0.isEmpty()) device0 = tape0;
    shell = std::make_unique<Shell>(std::vector<gui::PresentDevice>{{"Tape0", device0, true, true},
                                                             {"Tape1", tape1, true, true}});
    shell->ctx.ui = &ui;
    shell->Start(dir.path());
  }
  CMainFrame& Frame() { return *shell->frame; }
  TapeWindowDouble* OpenTapeWindow(const QString& drive) {
    auto* w = new TapeWindowDouble(shell->ctx, drive);
    Frame().Windows().AddChild(w);
    return w;
  }
};

}  // namespace

class TapeMenuTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void SelectTapeDriveListsThePresentDrives() {
    TapeShell t;
    ShellContext& ctx = t.shell->ctx;
    CSelectTapeDriveDlg d(ctx, TapeDriveNames(t.Frame().Devices()));
    QCOMPARE(d.windowTitle(), QStringLiteral("Select Tape Drive"));
    QCOMPARE(d.Drives()->count(), 2);
    QCOMPARE(d.Drives()->currentText(), QStringLiteral("Tape0"));
    d.Drives()->setCurrentIndex(1);
    d.reject();
    QVERIFY(ctx.app.SelectedTapeName.empty());  // Cancel keeps the previous choice
    d.accept();
    QCOMPARE(ctx.app.SelectedTapeName, std::string("Tape1"));
  }

  void InitialiseMakesAnEmptyLabelledTapeAndClearsItsWindow() {
    TapeShell t;
    MakeFile(t.dir.path(), QStringLiteral("t0.tap"), 0);
    TapeWindowDouble* other = t.OpenTapeWindow(QStringLiteral("Tape1"));
    TapeWindowDouble* window = t.OpenTapeWindow(QStringLiteral("Tape0"));
    t.Frame().MdiArea()->setActiveSubWindow(t.Frame().MdiArea()->subWindowList().first());
    DriveAnswer answer = ChooseDrive(0);
    t.Frame().RunCommand(Cmd::TapeInit);
    QVERIFY(answer->Seen());
    QVERIFY(t.ui.asks.empty());
    // Two filemarks, nothing else.
    QCOMPARE(ReadAll(t.tape0), QByteArray(8, '\0'));
    QVERIFY(window->Model()->Rows().empty());
    QVERIFY(window->isEnabled());
    QCOMPARE(t.Frame().MdiArea()->activeSubWindow()->widget(), window);
    QCOMPARE(other->Model()->Rows().size(), size_t{2});

    // Cancel at the drive question does nothing.
    QFile::remove(t.tape0);
    answer = ChooseDrive(-1);
    t.Frame().RunCommand(Cmd::TapeInit);
    QVERIFY(answer->Seen());
    QVERIFY(!QFile::exists(t.tape0));
  }

  void InitialiseOnAWriteProtectedTapeRetriesAndCancels() {
    TapeShell t;
    MakeFile(t.dir.path(), QStringLiteral("t0.tap"), 0);
    QFile::setPermissions(t.tape0, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    TapeWindowDouble* window = t.OpenTapeWindow(QStringLiteral("Tape0"));
    std::vector<bool> enabled_while_asked;
    std::vector<bool> waiting_while_asked;
    t.ui.on_ask = [&](const std::string&) {
      enabled_while_asked.push_back(window->isEnabled());
      waiting_while_asked.push_back(QApplication::overrideCursor() &&
                                    QApplication::overrideCursor()->shape() == Qt::WaitCursor);
    };
    t.ui.answers = {Button::Retry, Button::Cancel};
    DriveAnswer answer = ChooseDrive(0);
    t.Frame().RunCommand(Cmd::TapeInit);
    QCOMPARE(t.ui.Texts(), (std::vector<std::string>{"The media is write protected.",
                                                      "The media is write protected."}));
    QCOMPARE(enabled_while_asked, (std::vector<bool>{false, false}));
    QCOMPARE(waiting_while_asked, (std::vector<bool>{true, true}));
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(ReadAll(t.tape0).size(), 0);
    QVERIFY(window->isEnabled());
  }

  void EraseLoadAndUnloadOnATapeImage() {
    TapeShell t;
    kelvo::test::TapeImageBuilder tape;
    tape.Record(std::string(1024, 'x')).Filemark().Filemark();
    tape.WriteTo(t.tape0.toStdString());
    TapeWindowDouble* window = t.OpenTapeWindow(QStringLiteral("Tape0"));
    for (Cmd cmd : {Cmd::TapeLoad, Cmd::TapeUnload}) {
      window->Model()->SetRows(std::vector<FileRow>(1));
      DriveAnswer answer = ChooseDrive(0);
      t.Frame().RunCommand(cmd);
      QVERIFY(answer->Seen());
      QVERIFY(t.ui.asks.empty());
      QVERIFY(window->Model()->Rows().empty());
      QVERIFY(window->isEnabled());
    }
    QCOMPARE(ReadAll(t.tape0).size(), qsizetype(tape.Bytes().size()));  // not touched
    DriveAnswer answer = ChooseDrive(0);
    t.Frame().RunCommand(Cmd::TapeErase);
    QVERIFY(t.ui.asks.empty());
    QVERIFY(!ReadAll(t.tape0).contains(QByteArray(16, 'x')));
  }

  void FailuresAreReportedOnce() {
    // No tape image behind Tape0: the drive cannot be opened.
    TapeShell t(QStringLiteral("/no/such/folder/t.tap"));
    for (Cmd cmd : {Cmd::TapeLoad, Cmd::TapeUnload, Cmd::TapeInit, Cmd::TapeErase}) {
      t.ui.asks.clear();
      DriveAnswer answer = ChooseDrive(0);
      t.Frame().RunCommand(cmd);
      QCOMPARE(t.ui.Texts(), std::vector<std::string>{"The tape drive is either not present or is in use."});
    }
    // Rewind and Retension never report.
    t.ui.asks.clear();
    for (Cmd cmd : {Cmd::TapeRetension, Cmd::TapeRewind}) {
      DriveAnswer answer = ChooseDrive(0);
      t.Frame().RunCommand(cmd);
      QVERIFY(answer->Seen());
    }
    QVERIFY(t.ui.asks.empty());
  }

  void RewindAndRetensionUseTheActiveTapeWindowsDrive() {
    TapeShell t;
    MakeFile(t.dir.path(), QStringLiteral("t0.tap"), 0);
    t.OpenTapeWindow(QStringLiteral("Tape0"));
    for (Cmd cmd : {Cmd::TapeRewind, Cmd::TapeRetension}) {
      DriveAnswer answer = ChooseDrive(0);
      t.Frame().RunCommand(cmd);
      QTest::qWait(50);
      QVERIFY(!answer->Seen());
      QVERIFY(t.ui.asks.empty());
    }
    // With the PC window active both ask for a drive.
    t.Frame().MdiArea()->setActiveSubWindow(t.Frame().MdiArea()->subWindowList().first());
    for (Cmd cmd : {Cmd::TapeRewind, Cmd::TapeRetension}) {
      DriveAnswer answer = ChooseDrive(-1);
      t.Frame().RunCommand(cmd);
      QVERIFY(answer->Seen());
    }
    // With no window at all only Retension asks.
    t.Frame().MdiArea()->closeAllSubWindows();
    DriveAnswer answer = ChooseDrive(-1);
    t.Frame().RunCommand(Cmd::TapeRewind);
    QTest::qWait(50);
    QVERIFY(!answer->Seen());
    t.Frame().RunCommand(Cmd::TapeRetension);
    QVERIFY(answer->Seen());
  }

  void ListFilesRefreshesAnActiveTapeWindow() {
    TapeShell t;
    TapeWindowDouble* window = t.OpenTapeWindow(QStringLiteral("Tape1"));
    t.Frame().RunCommand(Cmd::TapeList);
    QCOMPARE(window->refreshed, 1);
  }

  void DriveInformationOfATapeImage() {
    TapeShell t;
    MakeFile(t.dir.path(), QStringLiteral("t1.tap"), 0);
    DriveAnswer answer = ChooseDrive(1);
    QString caption;
    QStringList numbers;
    QHash<int, bool> marks;
    auto info = std::make_unique<WhenShown<CTapeDriveInfoDlg>>([&](CTapeDriveInfoDlg* d) {
      caption = d->windowTitle();
      for (int field : {1100, 1101, 1102, 1152}) numbers << d->FieldText(field);
      for (std::size_t i = 0; i < kTapeFeatureFieldCount; ++i)
        marks[kTapeFeatureFields[i].field] = d->FeatureMarked(kTapeFeatureFields[i].field);
      d->grab().save(OutputPath(QStringLiteral("tape_drive_information.png")));
      d->reject();
    });
    t.Frame().RunCommand(Cmd::TapeDriveInfo);
    QVERIFY(info->Seen());
    QCOMPARE(caption, QStringLiteral("Drive Information for Tape1"));
    for (const QString& n : numbers) {
      bool ok = false;
      n.toInt(&ok);
      QVERIFY2(ok, qPrintable(n));
    }
    QVERIFY(numbers[2].toInt() >= numbers[1].toInt());
    QVERIFY(numbers[2].toInt() >= 16384);  // a QVA tape block fits
    // What an image offers, and nothing it does not.
    QVERIFY(marks.value(1026));   // variable-length blocks
    QVERIFY(marks.value(1122));   // space filemarks
    QVERIFY(marks.value(1103));   // filemarks
    QVERIFY(marks.value(1141));   // load/unload
    QVERIFY(!marks.value(1025));  // fixed-length blocks
    QVERIFY(!marks.value(1106));  // setmarks
    for (int never : {1128, 1150, 1138, 1140, 1111}) QVERIFY(!marks.value(never));
    QCOMPARE(marks.size(), int(kTapeFeatureFieldCount));

    // Cancel keeps the last choice; a drive that cannot be opened leaves the
    // dialog empty.
    TapeShell u(QStringLiteral("/no/such/folder/t.tap"));
    u.shell->ctx.app.SelectedTapeName = "Tape0";
    answer = ChooseDrive(-1);
    info = std::make_unique<WhenShown<CTapeDriveInfoDlg>>([&](CTapeDriveInfoDlg* d) {
      caption = d->windowTitle();
      QCOMPARE(d->FieldText(1100), QString());
      QVERIFY(!d->FeatureMarked(1026));
      d->reject();
    });
    u.Frame().RunCommand(Cmd::TapeDriveInfo);
    QVERIFY(answer->Seen());
    QVERIFY(info->Seen());
    QCOMPARE(caption, QStringLiteral("Drive Information for Tape0"));
  }

  void TapeCommandsAreGreyedWhileTapeWorkRuns() {
    TapeShell t;
    CMainFrame& f = t.Frame();
    f.OnIdle();
    for (Cmd cmd : kTapeCommands) QVERIFY(f.Action(cmd)->isEnabled());
    t.shell->ctx.app.TapeBusy = true;
    f.OnIdle();
    for (Cmd cmd : kTapeCommands) QVERIFY(!f.Action(cmd)->isEnabled());
    QVERIFY(f.Action(Cmd::RetainTapeLabels)->isEnabled());
    // A command that still arrives does nothing, and the window stays open.
    DriveAnswer answer = ChooseDrive(-1);
    f.RunCommand(Cmd::TapeInit);
    QTest::qWait(50);
    QVERIFY(!answer->Seen());
    QVERIFY(!f.close());
    t.shell->ctx.app.TapeBusy = false;
    f.OnIdle();
    for (Cmd cmd : kTapeCommands) QVERIFY(f.Action(cmd)->isEnabled());
  }

  void RetainTapeLabelsToggles() {
    TapeShell t;
    const int before = t.shell->ctx.settings.RetainTapeLabels;
    t.Frame().RunCommand(Cmd::RetainTapeLabels);
    QCOMPARE(t.shell->ctx.settings.RetainTapeLabels, before ? 0 : 1);
    QCOMPARE(t.Frame().Action(Cmd::RetainTapeLabels)->isChecked(), !before);
  }
};

QTEST_MAIN(TapeMenuTest)
#include "tape_menu_test.moc"
