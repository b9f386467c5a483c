// The tape progress window: its fields, the elapsed-time clock, the
// Abort/Close button and waiting for the user, alone and during a real
// restore from a tape image.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "gui/dialogs/restore_progress_dialog.h"
#include "support/gui_fixture.h"
#include "support/tape_media.h"
#include "tape/labelled_tape.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;
using namespace std::chrono_literals;

namespace {

// A clock the test moves by hand.
struct ManualClock {
  std::chrono::steady_clock::time_point now{std::chrono::steady_clock::time_point{} + 1000s};
  CRestoreProgressDlg::Clock Fn() {
    return [this] { return now; };
  }
};

}  // namespace

class RestoreProgressDialogTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void OpensHiddenWithItsInitialTexts() {
    bool busy = false;
    CRestoreProgressDlg dlg(busy);
    QVERIFY(!dlg.isVisible());
    QVERIFY(!dlg.IsOpen());
    QCOMPARE(dlg.SourceText(), QString());
    QCOMPARE(dlg.StatusText(), QString());
    QCOMPARE(dlg.CounterLabelText(), QStringLiteral("Files Restored:"));
    QCOMPARE(dlg.CounterText(), QStringLiteral(" 0"));
    QCOMPARE(dlg.ElapsedTimeText(), QStringLiteral("0h:00m:00s"));
    QCOMPARE(dlg.Button()->text(), QStringLiteral("Abort"));
    QCOMPARE(dlg.ProgressValue(), 0);
    // Never shown: waiting returns at once.
    dlg.WaitForClose();
    QVERIFY(!dlg.isVisible());
  }

  void SettersShowTheirTextsAfterABlank() {
    bool busy = true;
    QWidget owner;
    owner.resize(800, 600);
    CRestoreProgressDlg dlg(busy, &owner);
    dlg.SetTitle("Writing Kelvo Labeled Tape");
    QVERIFY(dlg.isVisible());
    QVERIFY(dlg.IsOpen());
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Writing Kelvo Labeled Tape"));
    dlg.SetSource("/home/op/jobs");
    dlg.SetStatus("Writing files.");
    dlg.SetCounterLabel("Files Written:");
    dlg.SetCounter("3");
    dlg.SetCurrentFile("REPORT.FNT");
    dlg.SetProgress(140);
    QCOMPARE(dlg.SourceText(), QStringLiteral(" /home/op/jobs"));
    QCOMPARE(dlg.StatusText(), QStringLiteral(" Writing files."));
    QCOMPARE(dlg.CounterLabelText(), QStringLiteral("Files Written:"));
    QCOMPARE(dlg.CounterText(), QStringLiteral(" 3"));
    QCOMPARE(dlg.CurrentFileText(), QStringLiteral("REPORT.FNT"));
    QCOMPARE(dlg.ProgressValue(), 100);
    dlg.SetProgress(-5);
    QCOMPARE(dlg.ProgressValue(), 0);
  }

  void LongOutputDirectoryIsShortenedInTheMiddle() {
    bool busy = true;
    CRestoreProgressDlg dlg(busy);
    dlg.SetTitle("Restoring from Kelvo Labeled Tape");
    const QString dir = "/srv/archive/" + QString(60, 'a') + "/" + QString(60, 'b') + "/restored";
    dlg.SetOutputDirectory(dir.toStdString());
    QCOMPARE(dlg.OutputDirectoryText(), " " + dir);
    QLabel* shown = nullptr;
    for (QLabel* l : dlg.findChildren<QLabel*>())
      if (l->toolTip() == " " + dir) shown = l;
    QVERIFY(shown);
    QVERIFY(shown->text().contains("/.../"));
    QVERIFY(shown->text().endsWith("/restored"));
    QVERIFY(shown->text().size() < dir.size());
  }

  void ClockShowsElapsedHoursMinutesSeconds() {
    bool busy = true;
    ManualClock clock;
    CRestoreProgressDlg dlg(busy, nullptr, clock.Fn());
    dlg.SetTitle("Restoring from Kelvo Labeled Tape");
    dlg.StartClock();
    auto* timer = dlg.findChild<QTimer*>();
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    clock.now += 65s;
    dlg.Tick();
    QCOMPARE(dlg.ElapsedTimeText(), QStringLiteral(" 0h:01m:05s"));
    clock.now += 2h;
    dlg.Tick();
    QCOMPARE(dlg.ElapsedTimeText(), QStringLiteral(" 2h:01m:05s"));
    // Stopping shows the final time and turns the button into "Close".
    clock.now += 4s;
    dlg.StopClock();
    QVERIFY(!timer->isActive());
    QCOMPARE(dlg.ElapsedTimeText(), QStringLiteral(" 2h:01m:09s"));
    QCOMPARE(dlg.Button()->text(), QStringLiteral("Close"));
    clock.now += 30s;
    dlg.Tick();
    QCOMPARE(dlg.ElapsedTimeText(), QStringLiteral(" 2h:01m:09s"));
  }

  void ButtonAbortsWhileBusyThenCloses() {
    bool busy = true;
    CRestoreProgressDlg dlg(busy);
    dlg.SetTitle("Restoring from Kelvo Labeled Tape");
    QVERIFY(!dlg.AbortRequested());
    dlg.Button()->click();
    QVERIFY(dlg.AbortRequested());
    QCOMPARE(dlg.Button()->text(), QStringLiteral("Close"));
    QVERIFY(dlg.isVisible());  // the work ends first; the window stays
    dlg.ClearAbortRequest();
    // Esc and the window's close request act like the button.
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QVERIFY(dlg.AbortRequested());
    QVERIFY(dlg.isVisible());
    busy = false;
    dlg.close();
    QVERIFY(!dlg.isVisible());
    QVERIFY(!dlg.IsOpen());
    dlg.WaitForClose();  // already closed: returns at once
  }

  void WaitForCloseHandlesEventsUntilClosePressed() {
    bool busy = false;
    CRestoreProgressDlg dlg(busy);
    dlg.SetTitle("Writing Kelvo Labeled Tape");
    dlg.StartClock();
    dlg.StopClock();
    int ticks_seen = 0;
    QTimer other;  // some other window's work keeps running meanwhile
    connect(&other, &QTimer::timeout, [&] {
      if (++ticks_seen == 3) dlg.Button()->click();
    });
    other.start(1);
    dlg.WaitForClose();
    QCOMPARE(ticks_seen, 3);
    QVERIFY(!dlg.isVisible());
    QVERIFY(!dlg.IsOpen());
  }

  void AbortDuringARestoreFromATapeImage() {
    QTemporaryDir dir;
    const QString tap = dir.filePath("abort.tap");
    QVERIFY(WriteFontTapeImage(tap, {"ALPHA", "BETA", "GAMMA"}));
    QDir().mkpath(dir.filePath("out"));
    PumpHookInteraction ui;
    bool busy = false;
    TapeContext ctx{ui, busy, {}};
    ctx.bindings.device[0] = tap.toStdString();
    CRestoreProgressDlg dlg(busy);
    // The user presses Abort while BETA is being read, and "Close" once the
    // work has ended.
    QString button_after;
    const auto pressed = PressAbortAt(ui, &dlg, "BETA.FNT", &button_after);
    ProgressCloser closer(&dlg, busy);
    const ErrorCode rc = RestoreLabelledTape(ctx, "Tape0", S(dir.filePath("out")), "*.*", {},
                                             TapeRestoreOptions{}, dlg);
    QVERIFY(*pressed);
    QCOMPARE(button_after, QStringLiteral("Close"));
    QCOMPARE(rc, ErrorCode{ERR_TAPE_RESTORE_CANCELLED});
    QCOMPARE(closer.closed, 1);
    QCOMPARE(closer.final_statuses, QStringList{" Restore aborted."});
    QCOMPARE(dlg.Button()->text(), QStringLiteral("Close"));
    QVERIFY(!dlg.isVisible());
    QVERIFY(!busy);
    QVERIFY(QFile::exists(dir.filePath("out/ALPHA.FNT")));
    QVERIFY(!QFile::exists(dir.filePath("out/GAMMA.FNT")));
  }

  void ScreenshotOfTheProgressWindow() {
    bool busy = true;
    ManualClock clock;
    CRestoreProgressDlg dlg(busy, nullptr, clock.Fn());
    dlg.SetTitle("Restoring from Kelvo Labeled Tape");
    dlg.SetSource("Tape0");
    dlg.SetOutputDirectory("/home/operator/restored/fonts");
    dlg.SetStatus("Restoring files.");
    dlg.SetCounter("2");
    dlg.StartClock();
    clock.now += 65s;
    dlg.Tick();
    dlg.SetCurrentFile("REPORT.FNT");
    dlg.SetProgress(40);
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QString path = OutputPath("kdisk_tape_progress.png");
    QVERIFY(dlg.grab().save(path));
    QVERIFY(QFile(path).size() > 1000);
  }
};

QTEST_MAIN(RestoreProgressDialogTest)
#include "restore_progress_dialog_test.moc"
