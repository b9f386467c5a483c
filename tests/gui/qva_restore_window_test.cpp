// "Restore From QVA": the progress window on its own (fields, button, Esc,
// clock) and a QVA restore run from the Tape menu on a two-volume set of tape
// images, to the end and aborted part way.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/windows/qva_restore_dialog.h"
#include "gui/dialogs/tape_restore_dialog.h"
#include "support/gui_fixture.h"
#include "support/qva_tape_builder.h"
#include "support/tape_dialog_fixture.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// What the window showed when the restore had ended, before Close.
struct FinalView {
  QString status, files, current_file, output, system_id, disk_unit, elapsed, button;
  int progress = -1;
};

FinalView Capture(CQvaRestoreDlg* w) {
  return {w->FieldText("status"),     w->FieldText("files_restored"),
          w->FieldText("current_file"), w->FieldText("output_directory"),
          w->FieldText("system_id"),  w->FieldText("disk_unit"),
          w->FieldText("elapsed"),    w->Button()->text(),
          w->CProgressBar()->value()};
}

// A main window with Tape0 bound to `device`, restoring into dir/out.
struct QvaShell {
  QTemporaryDir dir;
  PumpingInteraction ui;
  std::unique_ptr<Shell> shell;
  QString out = dir.filePath(QStringLiteral("out"));

  void Start(const std::string& device) {
    QDir(dir.path()).mkdir(QStringLiteral("out"));
    shell = std::make_unique<Shell>(std::vector<gui::PresentDevice>{{"Tape0", QString::fromStdString(device), true, true}});
    shell->ctx.ui = &ui;
    shell->ctx.settings.TapeRestorePath = out.toStdString();
    shell->ctx.settings.DefaultTapeFormat = 2;
    shell->Start(dir.path());
  }
  void Restore(const QString& spec, const std::function<void(CQvaRestoreDlg*)>& at_end) {
    RestoreFromMenu<CQvaRestoreDlg>(*shell->frame, spec, at_end);
  }
};

}  // namespace

class QvaRestoreWindowTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void WindowShowsItsFieldsAndButton() {
    bool busy = true;
    CQvaRestoreDlg w(busy);
    QCOMPARE(w.windowTitle(), QStringLiteral("Restore From QVA"));
    QVERIFY(!w.isVisible());  // shown with the restore's first report
    QCOMPARE(w.FieldText("files_restored"), QStringLiteral(" 0"));
    QCOMPARE(w.FieldText("elapsed"), QStringLiteral(" 0h:00m:00s"));
    QCOMPARE(w.Button()->text(), QStringLiteral("Abort"));
    QCOMPARE(w.CProgressBar()->maximum(), 100);
    w.StartClock();
    QVERIFY(w.isVisible());
    w.SetSystemId("QVA TEST SYSTEM");
    w.SetOutputDirectory("/tmp/out");
    w.SetStatus("Restoring files.");
    w.SetCurrentFile("REPORT.FNT");
    w.SetFilesRestored("12");
    w.SetCurrentDiskUnit("DP2:");
    w.SetProgress(40);
    QCOMPARE(w.FieldText("system_id"), QStringLiteral(" QVA TEST SYSTEM"));
    QCOMPARE(w.FieldText("output_directory"), QStringLiteral(" /tmp/out"));
    QCOMPARE(w.FieldText("status"), QStringLiteral(" Restoring files."));
    QCOMPARE(w.FieldText("current_file"), QStringLiteral("REPORT.FNT"));
    QCOMPARE(w.FieldText("files_restored"), QStringLiteral(" 12"));
    QCOMPARE(w.FieldText("disk_unit"), QStringLiteral(" DP2:"));
    QCOMPARE(w.CProgressBar()->value(), 40);
    // Esc while the work runs asks for the abort; the window stays.
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(w.AbortRequested());
    QCOMPARE(w.Button()->text(), QStringLiteral("Close"));
    QVERIFY(w.isVisible());
    QVERIFY(w.Model().IsOpen());
    // The window's close request likewise; after the work it closes.
    w.close();
    QVERIFY(w.Model().IsOpen());
    busy = false;
    w.StopClock();
    w.close();
    QVERIFY(!w.Model().IsOpen());
    w.WaitForClose();  // returns at once now
  }

  void WaitingEndsWhenTheWindowIsHidden() {
    // The main window closing hides its windows: nobody can press Close then.
    bool busy = true;
    CQvaRestoreDlg w(busy);
    w.StartClock();
    busy = false;
    w.StopClock();
    QTimer::singleShot(20, &w, [&w] { w.hide(); });
    w.WaitForClose();
    QVERIFY(w.Model().IsOpen());
    QVERIFY(!w.isVisible());
  }

  void ClockTicksOncePerSecond() {
    bool busy = true;
    CQvaRestoreDlg w(busy);
    w.StartClock();
    QTRY_COMPARE_WITH_TIMEOUT(w.FieldText("elapsed"), QStringLiteral(" 0h:00m:01s"), 3000);
    w.StopClock();
    QCOMPARE(w.Button()->text(), QStringLiteral("Close"));
  }

  void RestoresATwoVolumeSet() {
    QvaShell t;
    const std::vector<std::string> volumes = MakeQvaSet(t.dir.path(), 6, 3072, 8);
    QCOMPARE(volumes.size(), size_t{2});
    t.Start(kelvo::test::JoinVolumes(volumes));
    t.ui.answers = {Button::Ok};  // mount volume 2
    std::vector<bool> greyed_while_running;
    int max_progress = 0;
    t.ui.on_pump = [&] {
      if (!t.shell->ctx.app.TapeBusy) return;
      t.shell->frame->OnIdle();
      greyed_while_running.push_back(!t.shell->frame->Action(Cmd::TapeInit)->isEnabled() &&
                                     !t.shell->frame->Action(Cmd::TapeRestore)->isEnabled());
      if (CQvaRestoreDlg* w = FindShown<CQvaRestoreDlg>())
        max_progress = std::max(max_progress, w->CProgressBar()->value());
    };
    FinalView end;
    t.Restore(QStringLiteral("*.*"), [&](CQvaRestoreDlg* w) {
      end = Capture(w);
      QVERIFY(w->grab().save(OutputPath(QStringLiteral("qva_restore_window.png"))));
    });
    QCOMPARE(end.status, QStringLiteral(" Done."));
    QCOMPARE(end.files, QStringLiteral(" 8"));
    QCOMPARE(end.system_id.trimmed(), QStringLiteral("QVA TEST SYSTEM"));
    QCOMPARE(end.disk_unit, QStringLiteral(" DP2:"));
    QCOMPARE(end.output, QStringLiteral(" ") + t.out);
    QCOMPARE(end.current_file, QString());
    QCOMPARE(end.button, QStringLiteral("Close"));
    QCOMPARE(end.progress, 0);
    QVERIFY(max_progress > 0);
    QVERIFY(!greyed_while_running.empty());
    QVERIFY(std::all_of(greyed_while_running.begin(), greyed_while_running.end(), [](bool b) { return b; }));
    QCOMPARE(t.ui.Texts(), std::vector<std::string>{"Mount QVA Volume 2. \nClick OK to continue, Cancel to abort."});
    // Every file arrived whole, the source file as text.
    for (int i = 0; i < 6; ++i) {
      QFile f(QDir(t.out).filePath(QStringLiteral("F%1.FNT").arg(i)));
      QVERIFY(f.open(QIODevice::ReadOnly));
      QCOMPARE(f.readAll(), QByteArray(3072, char('a' + i)));
    }
    QFile job(QDir(t.out).filePath(QStringLiteral("JOB.CMD")));
    QVERIFY(job.open(QIODevice::ReadOnly));
    QVERIFY(job.readAll().startsWith("FIRST LINE"));
    QVERIFY(!t.shell->ctx.app.TapeBusy);
    t.shell->frame->OnIdle();
    QVERIFY(t.shell->frame->Action(Cmd::TapeRestore)->isEnabled());
    QVERIFY(!FindShown<CQvaRestoreDlg>());
  }

  void CancelAtTheVolumePromptEndsAsAborted() {
    QvaShell t;
    const std::vector<std::string> volumes = MakeQvaSet(t.dir.path(), 6, 3072, 8);
    t.Start(kelvo::test::JoinVolumes(volumes));
    t.ui.answers = {Button::Cancel};
    FinalView end;
    t.Restore(QStringLiteral("*.*"), [&](CQvaRestoreDlg* w) { end = Capture(w); });
    QCOMPARE(end.status, QStringLiteral(" Restore aborted."));
    QCOMPARE(t.ui.Texts(), (std::vector<std::string>{"Mount QVA Volume 2. \nClick OK to continue, Cancel to abort.",
                                                      "Tape restore cancelled at user's request."}));
  }

  void AbortPressedMidRestore() {
    QvaShell t;
    const std::vector<std::string> volumes = MakeQvaSet(t.dir.path(), 40, 8192, 0);
    t.Start(kelvo::test::JoinVolumes(volumes));
    QString button_after_abort;
    bool busy_after_abort = false;
    t.ui.on_pump = [&] {
      CQvaRestoreDlg* w = FindShown<CQvaRestoreDlg>();
      if (!w || !button_after_abort.isEmpty() || w->FieldText("files_restored") != QStringLiteral(" 3")) return;
      QTest::mouseClick(w->Button(), Qt::LeftButton);
      button_after_abort = w->Button()->text();
      busy_after_abort = t.shell->ctx.app.TapeBusy;
    };
    FinalView end;
    t.Restore(QStringLiteral("*.FNT"), [&](CQvaRestoreDlg* w) { end = Capture(w); });
    QCOMPARE(button_after_abort, QStringLiteral("Close"));
    QVERIFY(busy_after_abort);  // the work was still running
    QCOMPARE(end.status, QStringLiteral(" Restore aborted."));
    QCOMPARE(t.ui.Texts(), std::vector<std::string>{"Tape restore cancelled at user's request."});
    const int restored = QDir(t.out).entryList(QDir::Files).size();
    QVERIFY2(restored >= 3 && restored <= 4, qPrintable(QString::number(restored)));
    QVERIFY(!t.shell->ctx.app.TapeBusy);
  }

  void MissingTapeShowsOnlyItsMessage() {
    QvaShell t;
    t.Start("/no/such/folder/vol1.tap");
    bool window_seen = false;
    t.ui.on_ask = [&](const std::string&) { window_seen = window_seen || FindShown<CQvaRestoreDlg>(); };
    t.Restore(QStringLiteral("*.*"), [](CQvaRestoreDlg*) { QFAIL("no window expected"); });
    QCOMPARE(t.ui.Texts(), std::vector<std::string>{"The tape drive is either not present or is in use."});
    QVERIFY(!window_seen);
  }
};

QTEST_MAIN(QvaRestoreWindowTest)
#include "qva_restore_window_test.moc"
