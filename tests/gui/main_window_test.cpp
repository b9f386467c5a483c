// Start-up, menus, device bar, placement and the About box of the main window.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/device_enumeration.h"
#include "gui/windows/device_bar.h"
#include "gui/windows/pc_explorer_window.h"
#include "support/gui_fixture.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

class MainWindowTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void StartsWithTheDefaultPlacement() {
    QTemporaryDir dir;
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    QVERIFY(pc);
    QCOMPARE(shell.frame->geometry(), QRect(135, 82, 762, 560));
    QCOMPARE(shell.frame->MdiArea()->subWindowList().size(), 1);
    QCOMPARE(pc->windowTitle(), ComputerName());
    QVERIFY(!ComputerName().isEmpty());
    QCOMPARE(QDir(pc->PlaceText()).canonicalPath(), QDir(dir.path()).canonicalPath());
    QVERIFY(shell.frame->windowTitle().startsWith(QStringLiteral("Kelvo Disk Utility")));
    QVERIFY(shell.ui.asks.empty());
  }

  void HasTheSevenMenus() {
    Shell shell;
    QStringList titles;
    for (QAction* a : shell.frame->menuBar()->actions()) titles << a->text();
    QCOMPARE(titles, (QStringList{"&File", "&View", "&Disk", "&Tape", "&Options", "&Window", "&Help"}));
  }

  void MenuEnablingFollowsTheActiveWindow() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    CMainFrame& f = *shell.frame;
    f.OnIdle();
    // A PC window is active: explorer commands on, Properties greyed.
    for (Cmd cmd : {Cmd::Delete, Cmd::Rename, Cmd::Print, Cmd::SaveFileList, Cmd::SelectAll,
                    Cmd::Refresh, Cmd::Details, Cmd::ByDate})
      QVERIFY2(f.Action(cmd)->isEnabled(), qPrintable(f.Action(cmd)->text()));
    QVERIFY(!f.Action(Cmd::Properties)->isEnabled());
    QVERIFY(!f.Action(Cmd::Save)->isEnabled());
    QVERIFY(f.Action(Cmd::About)->isEnabled());
    // No tape drive: the tape commands are greyed.
    QVERIFY(!f.Action(Cmd::TapeList)->isEnabled());
    // With no child window the explorer commands grey out.
    f.MdiArea()->closeAllSubWindows();
    f.OnIdle();
    for (Cmd cmd : {Cmd::Delete, Cmd::Rename, Cmd::Print, Cmd::SelectAll, Cmd::Refresh, Cmd::ByName})
      QVERIFY2(!f.Action(cmd)->isEnabled(), qPrintable(f.Action(cmd)->text()));
    QVERIFY(f.Action(Cmd::Open)->isEnabled());
    QVERIFY(f.Action(Cmd::AllFileTypes)->isEnabled());
  }

  void DeviceBarHasOneButtonPerDevice() {
    std::vector<PresentDevice> devices = {{"A:", "emu:/tmp/a.img", false, true},
                                        {"B:", "emu:/tmp/b.img,form=5.25", false, false},
                                        {"Tape0", "/tmp/t.tap", true, true}};
    Shell shell(devices);
    const QList<QToolButton*> buttons = shell.frame->DeviceBar()->Buttons();
    QCOMPARE(buttons.size(), 3);
    QCOMPARE(buttons[0]->text(), QString::fromUtf8("3\u00BD Floppy (A:)"));
    QCOMPARE(buttons[1]->text(), QString::fromUtf8("5\u00BC Floppy (B:)"));
    QCOMPARE(buttons[2]->text(), QStringLiteral("Tape0"));
    QVERIFY(buttons[0]->acceptDrops());
    shell.frame->OnIdle();
    QVERIFY(shell.frame->Commands().CurrentCommandContext().tape_present);
  }

  void DeviceBarFollowsTheDeviceTable() {
    QTemporaryDir dir;
    const QString tap = dir.filePath("t.tap");
    MakeFile(dir.path(), "t.tap", 0);
    kelvo::AppState state;
    state.Bindings.floppy[0] = ("emu:" + dir.filePath("a.img") + ",form=5.25").toStdString();
    state.Bindings.floppy[1] = dir.filePath("missing-device").toStdString();
    state.Bindings.tape[0] = dir.filePath("none.tap").toStdString();
    state.Bindings.tape[1] = tap.toStdString();
    state.Bindings.tape[2] = dir.filePath("none2.tap").toStdString();
    state.Bindings.tape[3] = dir.filePath("none3.tap").toStdString();
    kelvo::EnumerateDevices(state.Bindings, state.Devices);
    const std::vector<PresentDevice> d = PresentDevices(state);
    QCOMPARE(d.size(), size_t{2});
    QCOMPARE(d[0].name, QStringLiteral("A:"));
    QVERIFY(!d[0].three_and_half);
    QCOMPARE(d[0].Label(), QString::fromUtf8("5\u00BC Floppy (A:)"));
    QCOMPARE(d[1].name, QStringLiteral("Tape1"));
    QCOMPARE(d[1].device, tap);
  }

  void RemembersPlacementAndMaximized() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    shell.frame->setGeometry(200, 150, 700, 500);
    QTRY_COMPARE(shell.ctx.settings.MainWindowWidth, 700);
    QCOMPARE(shell.ctx.settings.MainWindowLeft, 200);
    QCOMPARE(shell.ctx.settings.MainWindowTop, 150);
    QCOMPARE(shell.ctx.settings.MainWindowHeight, 500);
    shell.frame->showMaximized();
    QTRY_VERIFY(shell.ctx.settings.Maximized);
    // Maximized, the normal rectangle stays what it was.
    QCOMPARE(shell.ctx.settings.MainWindowWidth, 700);
    shell.frame->showNormal();
    QTRY_VERIFY(!shell.ctx.settings.Maximized);
  }

  void StatusBarShowsTheSelectionSummary() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"A.JSL", "B.JSL"}, 100);
    Shell shell;
    shell.ctx.settings.ShowAllFileTypes = true;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    pc->ListView()->SelectAll();
    shell.frame->OnIdle();
    const QList<QLabel*> labels = shell.frame->statusBar()->findChildren<QLabel*>();
    bool found = false;
    for (QLabel* l : labels)
      if (l->text().startsWith(QStringLiteral("2 file(s) selected ("))) found = true;
    QVERIFY(found);
  }

  void AboutBoxShowsVersionAndPlatform() {
    Shell shell;
    QStringList texts;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!box) return;
      for (QLabel* l : box->findChildren<QLabel*>()) texts << l->text();
      box->accept();
    });
    shell.frame->ShowAbout();
    QVERIFY(texts.contains(QStringLiteral("Kelvo Disk Utility")));
    QVERIFY(texts.contains(QStringLiteral("Version 2.2b")));
    QVERIFY(texts.contains(QStringLiteral("For Linux")));
  }

  void ClosingIsRefusedWhileAnOperationRuns() {
    QTemporaryDir dir;
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    pc->SetBusy(true);
    QVERIFY(!shell.frame->close());
    QCOMPARE(shell.ui.beeps.size(), size_t{1});
    pc->SetBusy(false);
    QVERIFY(shell.frame->close());
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
