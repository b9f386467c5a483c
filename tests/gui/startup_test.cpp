// A whole run: start-up with no settings, the settings written back at exit
// and read again by the next run, the floppy driver warning, command-line
// device bindings, and the time to the first painted main window.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/device_enumeration.h"
#include "gui/windows/device_bar.h"
#include "gui/shell/kdisk_app.h"
#include "gui/windows/pc_explorer_window.h"
#include "settings_store/qt_settings_store.h"
#include "support/gui_fixture.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

kelvo::StartupOptions QuietOptions(const QTemporaryDir& dir) {
  kelvo::StartupOptions o;
  o.trace_log_path = dir.filePath("kdisk32.log").toStdString();
  o.system_root = dir.path().toStdString();  // no floppy driver under it
  return o;
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void FirstRunUsesDefaultsAndSavesAtExit() {
    QTemporaryDir dir;
    const QString ini = dir.filePath("settings.ini");
    QDir::setCurrent(dir.path());
    {
      kelvo::CQtSettingsStore store(ini.toStdString());
      kelvo::test::ScriptedInteraction ui;
      ShellContext ctx;
      ctx.ui = &ui;
      QElapsedTimer timer;
      timer.start();
      CommandLine cmd;
      cmd.overrides.floppy[0] = ("emu:" + dir.filePath("a.img")).toStdString();
      auto frame = StartKdisk(ctx, store, cmd, QuietOptions(dir));
      QVERIFY(frame);
      QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
      frame->repaint();
      qInfo("start-up to the first painted main window took %lld ms", timer.elapsed());
      QCOMPARE(frame->geometry(), QRect(135, 82, 762, 560));
      QCOMPARE(ctx.settings.NameColumnWidth, 100);
      QCOMPARE(ctx.settings.TapeBlockingFactor, 16);
      // An emulated drive counts as a floppy driver: no warning.
      QVERIFY(ui.asks.empty());
      QCOMPARE(frame->DeviceBar()->Buttons().size(), 1);
      QCOMPARE(frame->DeviceBar()->Buttons()[0]->text(), QString::fromUtf8("3\u00BD Floppy (A:)"));
      QCOMPARE(QDir(frame->Windows().PcExplorer()->PlaceText()).canonicalPath(), QDir(dir.path()).canonicalPath());
      frame->setGeometry(150, 100, 640, 480);
      QTRY_COMPARE(ctx.settings.MainWindowWidth, 640);
      EndKdisk(ctx, store, std::move(frame));
    }
    QSettings written(ini, QSettings::IniFormat);
    QCOMPARE(written.value("Settings/Main Window Width").toInt(), 640);
    QCOMPARE(written.value("Settings/Main Window Left").toInt(), 150);
    // Device overrides are for one run only.
    QVERIFY(!written.value("Settings/Floppy A Device").toString().startsWith("emu:"));

    KdiskRun run(ini);
    QVERIFY(run.Start(dir.path()));
    QCOMPARE(run.frame->geometry(), QRect(150, 100, 640, 480));
    // No floppy driver and no emulated drive: warned once, started anyway.
    QCOMPARE(run.ui.Texts(), std::vector<std::string>{kelvo::kFloppyDriverMissingText});
    QCOMPARE(run.frame->MdiArea()->subWindowList().size(), 1);
  }

  void ParsesTheCommandLine() {
    const CommandLine c = ParseCommandLine({"kdisk", "--drive-a", "emu:/x.img", "--tape0", "t.tap",
                                            "--drive-b", "/dev/fd1", "--tape3", "u.tap", "one.kdi",
                                            "two.fnt"});
    QVERIFY(c.ok);
    QCOMPARE(c.overrides.floppy[0], std::string("emu:/x.img"));
    QCOMPARE(c.overrides.floppy[1], std::string("/dev/fd1"));
    QCOMPARE(c.overrides.tape[0], std::string("t.tap"));
    QVERIFY(c.overrides.tape[1].empty());
    QCOMPARE(c.overrides.tape[3], std::string("u.tap"));
    QCOMPARE(c.files, (QStringList{"one.kdi", "two.fnt"}));
    QVERIFY(!ParseCommandLine({"kdisk", "--bogus"}).ok);
    QVERIFY(!ParseCommandLine({"kdisk", "--drive-a"}).ok);
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
