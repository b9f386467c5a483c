// Desktop faults: the folder tree after a re-read, drops on tree items, a
// viewer opened over a maximized window, pane widths, placement kept on the
// screen, volumes mounted while running, the wait cursor of a floppy
// transfer, tape Properties, and the texts that name a window or a drive.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <functional>

#include "app/device_enumeration.h"
#include "app/startup.h"
#include "gui/dialogs/copy_files_dialog.h"
#include "gui/viewers/image_frame.h"
#include "gui/windows/kelvo_disk_window.h"
#include "gui/windows/kelvo_directory_view.h"
#include "gui/windows/main_drive_view.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/windows/tape_window.h"
#include "gui/windows/disk_image_window.h"
#include "support/floppy_fixture.h"
#include "support/gui_fixture.h"
#include "support/viewer_files.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// Drops `data` on `item` of `tree` as the mouse would.
void DropOnItem(QTreeWidget* tree, QTreeWidgetItem* item, const QMimeData* data) {
  tree->scrollToItem(item);
  const QPointF pos = tree->visualItemRect(item).center();
  QVERIFY(tree->itemAt(pos.toPoint()) == item);
  // The drop goes to the widget that accepted the drag's entry.
  QDragEnterEvent enter(pos.toPoint(), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(tree->viewport(), &enter);
  QDropEvent drop(pos, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(tree->viewport(), &drop);
}

QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const QString& text) {
  for (int i = 0; i < parent->childCount(); ++i)
    if (parent->child(i)->text(0) == text) return parent->child(i);
  return nullptr;
}

// Drags the handle between the panes of `splitter` by `dx` pixels.
void DragSplitter(QSplitter* splitter, int dx) {
  QWidget* handle = splitter->handle(1);
  const QPoint from(handle->width() / 2, handle->height() / 2);
  const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent e(type, at, handle->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(handle, &e);
  };
  send(QEvent::MouseButtonPress, from, Qt::LeftButton);
  send(QEvent::MouseMove, from + QPoint(dx, 0), Qt::LeftButton);
  send(QEvent::MouseButtonRelease, from + QPoint(dx, 0), Qt::NoButton);
}

// Records the cursor shown while each question is asked.
struct CursorProbe : kelvo::test::ScriptedInteraction {
  QList<bool> waiting;
  kelvo::Button Ask(const std::string& text, const std::string& title, kelvo::Buttons buttons,
                    kelvo::Icon icon) override {
    const QCursor* c = QApplication::overrideCursor();
    waiting << (c && c->shape() == Qt::WaitCursor);
    return ScriptedInteraction::Ask(text, title, buttons, icon);
  }
};

}  // namespace

class DesktopFaultsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  // After a re-read the tree shows the folder the list shows, not a parent.
  void TreeKeepsTheListedFolderAfterARead() {
    struct Case {
      const char* what;
      std::function<void(Shell&, CPcExplorerWindow*, const QString& root)> act;
    };
    const Case cases[] = {
        {"refresh", [](Shell&, CPcExplorerWindow* pc, const QString&) { pc->Refresh(); }},
        {"watched parent changes",
         [](Shell&, CPcExplorerWindow* pc, const QString& root) {
           QVERIFY(QDir(root).mkpath("a/new"));
           pc->Tree()->OnFolderChanged(root + "/a");
         }},
        {"drop on the list", [](Shell& shell, CPcExplorerWindow* pc, const QString& root) {
           CDiskImageWindow* image = OpenImage(shell, root + "/d.kdi");
           QVERIFY(image);
           image->ListView()->SelectAll();
           std::unique_ptr<QMimeData> data(image->ListView()->make_drag_data());
           shell.frame->HandleDrop(pc, data.get());
           QVERIFY(pc->Model()->FindRow("A.JSL") >= 0);
         }}};
    for (const Case& c : cases) {
      QTemporaryDir dir;
      const QString leaf = QDir::cleanPath(dir.path() + "/a/b/c");
      QVERIFY(QDir(dir.path()).mkpath("a/b/c/d"));
      QVERIFY(MakeImage(dir.filePath("d.kdi"), {{"A", "", "JSL", 1}}));
      Shell shell;
      CPcExplorerWindow* pc = shell.Start(leaf);
      QCOMPARE(pc->Tree()->SelectedFolder(), leaf);
      c.act(shell, pc, QDir::cleanPath(dir.path()));
      QVERIFY2(pc->Tree()->SelectedFolder() == leaf, c.what);
      QVERIFY2(pc->PlaceText() == leaf, c.what);
    }
  }

  // A drop on a tree item does what a drop on the matching list does.
  void DropsOnTreeItemsTransfer() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QVERIFY(MakeImage(dir.filePath("d.kdi"), {{"A", "", "JSL", 1}}));
    MakeFiles(dir.path(), {"B.JSL"}, 700);
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    CDiskImageWindow* image = OpenImage(shell, dir.filePath("d.kdi"));
    QVERIFY(image);

    // PC files dropped on "All Files" of the image's tree go into the image.
    QApplication::processEvents();  // the windows laid out
    pc->ListView()->SelectNames({"B.JSL"});
    std::unique_ptr<QMimeData> from_pc(pc->ListView()->make_drag_data());
    DropOnItem(image->Tree(), image->Tree()->AllFiles(), from_pc.get());
    QVERIFY2(shell.ui.asks.empty(), shell.ui.asks.empty() ? "" : shell.ui.asks[0].text.c_str());
    QVERIFY(image->Model()->FindRow("B.jsl") >= 0 || image->Model()->FindRow("B.JSL") >= 0);

    // Image files dropped on a folder of the PC tree go into that folder.
    CMainDriveView* tree = pc->Tree();
    tree->currentItem()->setExpanded(true);
    QApplication::processEvents();  // a folder change read again first: items are replaced
    QTreeWidgetItem* sub = ChildNamed(tree->currentItem(), "sub");
    QVERIFY(sub);
    image->ListView()->SelectNames({"A.jsl"});
    QCOMPARE(image->ListView()->SelectedNames(), QStringList{"A.jsl"});
    std::unique_ptr<QMimeData> from_image(image->ListView()->make_drag_data());
    DropOnItem(tree, sub, from_image.get());
    QCOMPARE(QDir(dir.filePath("sub")).entryList({"a.jsl"}, QDir::Files).size(), 1);
    QCOMPARE(pc->PlaceText(), QDir::cleanPath(dir.filePath("sub")));
    QVERIFY(shell.ui.asks.empty());
  }

  // A viewer opened while another child window is maximized opens maximized,
  // filling the area, with the other windows behind it.
  void ViewerOverAMaximizedWindowIsMaximizedToo() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    CMainFrame& f = *shell.frame;
    f.MdiArea()->activeSubWindow()->showMaximized();
    QVERIFY(OpenViewer<CImgFrame>(f, dir.path(), "MAX.IMG", BlockImageFile(200, 40, 16, 8)));
    QMdiSubWindow* sub = f.MdiArea()->activeSubWindow();
    QVERIFY(sub->isMaximized());
    QCOMPARE(sub->size(), f.MdiArea()->viewport()->size());
  }

  // New child windows stay wholly inside the area however far the cascade
  // has gone and however large their content (a small main window, or a
  // large scale).
  void NewWindowsOpenInsideTheArea() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    CMainFrame& f = *shell.frame;
    f.resize(640, 420);
    QApplication::processEvents();
    const QRect area(QPoint(0, 0), f.MdiArea()->viewport()->size());
    for (int i = 0; i < 8; ++i) {
      const QString name = QStringLiteral("V%1.IMG").arg(i);
      QVERIFY(OpenViewer<CImgFrame>(f, dir.path(), name, BlockImageFile(2400, 1600, 16, 8)));
      QVERIFY2(area.contains(f.MdiArea()->activeSubWindow()->geometry()), qPrintable(name));
    }
  }

  // The pane widths come from the settings and go back to them.
  void PaneWidthsAreRestoredAndSaved() {
    QTemporaryDir dir;
    Shell shell;
    shell.ctx.settings.DriveViewWidth = 180;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    auto* splitter = pc->findChild<QSplitter*>();
    QVERIFY(splitter);
    QCOMPARE(splitter->sizes().value(0), 180);
    DragSplitter(splitter, 40);
    QCOMPARE(splitter->sizes().value(0), 220);
    QCOMPARE(shell.ctx.settings.DriveViewWidth, 220);
    QCOMPARE(shell.ctx.settings.FileViewWidth, splitter->sizes().value(1));
  }

  // A saved placement outside the screen, or larger than it, is brought
  // inside the available area.
  void SavedPlacementIsKeptOnScreen() {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect saved[] = {{5000, 4000, 700, 500},
                           {available.right() - 50, 100, 700, 500},
                           {100, 100, 2048, 2048}};
    for (const QRect& r : saved) {
      Shell shell;
      kelvo::Settings& s = shell.ctx.settings;
      s.MainWindowLeft = r.left();
      s.MainWindowTop = r.top();
      s.MainWindowWidth = r.width();
      s.MainWindowHeight = r.height();
      CMainFrame frame(shell.ctx, {});
      QVERIFY2(available.contains(frame.geometry()),
               qPrintable(QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())));
    }
  }

  // A volume mounted while the program runs appears in the tree at once,
  // and goes when it is unmounted.
  void MountedVolumesComeAndGo() {
    QTemporaryDir dir;
    const QString volume = dir.filePath("my disk");
    QVERIFY(QDir().mkpath(volume));
    const QString table = dir.filePath("mounts");
    const auto write = [&](const QByteArray& text) {
      QFile f(table);
      QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(text);
    };
    write("/dev/root / ext4 rw 0 0\n");
    CMainDriveView tree;
    tree.SetMountTable(table);
    QVERIFY(!tree.VolumeFolders().contains(volume));
    write("/dev/root / ext4 rw 0 0\n/dev/sdz1 " + dir.path().toUtf8() + "/my\\040disk vfat rw 0 0\n");
    QTRY_VERIFY(tree.VolumeFolders().contains(volume));
    write("/dev/root / ext4 rw 0 0\n");
    QTRY_VERIFY(!tree.VolumeFolders().contains(volume));
  }

  // While a transfer opens a floppy the wait cursor shows; it is gone after.
  void FloppyTransferShowsTheWaitCursorWhileOpening() {
    FloppyShell f(DriveB::None, /*disk_in_a=*/false);
    QVERIFY(f.pc);
    CursorProbe probe;
    f.shell->ctx.ui = &probe;
    MakeFiles(f.dir.path(), {"NEWFIL.JSL"}, 100);
    f.pc->Refresh();
    f.pc->ListView()->SelectNames({"NEWFIL.JSL"});
    std::unique_ptr<QMimeData> data(f.pc->ListView()->make_drag_data());
    f.shell->frame->HandleDeviceDrop(f.shell->frame->Devices()[0], data.get());
    QVERIFY(!probe.waiting.isEmpty());  // the empty drive was reported
    QVERIFY(probe.waiting.first());
    QVERIFY(!QApplication::overrideCursor());
  }

  // Properties in a tape window shows the selected entry.
  void TapePropertiesShowTheSelectedEntry() {
    Shell shell;
    CTapeWindow tape(shell.ctx, "Tape0");
    tape.ShowProperties();
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"There are no files selected."});
    tape.Model()->SetRows({{"REPORT.FNT", 4096, "Font File", 0, 3}});
    tape.ListView()->SelectAll();
    tape.ShowProperties();
    const QString text = QString::fromStdString(shell.ui.asks.back().text);
    for (const char* part : {"REPORT.FNT", "4,096", "Font File", "Seq No.:\t3"})
      QVERIFY2(text.contains(part), qPrintable(text));
  }

  // Closing one of two changed images of the same name asks by full path.
  void SaveQuestionNamesThePathWhenTwoImagesShareAName() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("x") && QDir(dir.path()).mkpath("y"));
    for (const char* folder : {"x", "y"})
      QVERIFY(MakeImage(dir.filePath(folder) + "/demo.kdi", {{"A", "", "JSL", 1}}));
    Shell shell;
    shell.Start(dir.path());
    CDiskImageWindow* first = OpenImage(shell, dir.filePath("x/demo.kdi"));
    CDiskImageWindow* second = OpenImage(shell, dir.filePath("y/demo.kdi"));
    QVERIFY(first && second && first != second);
    first->Document().SetModifiedFlag();
    second->Document().SetModifiedFlag();
    shell.ui.default_answer = kelvo::Button::No;
    QVERIFY(first->parentWidget()->close());
    const QString asked = QString::fromStdString(shell.ui.asks.back().text);
    QCOMPARE(asked, "Save changes to " + QDir::toNativeSeparators(QFileInfo(dir.filePath("x/demo.kdi")).absoluteFilePath()) + "?");
    // Alone now, the other is named as before.
    QVERIFY(second->parentWidget()->close());
    QCOMPARE(shell.ui.asks.back().text, std::string("Save changes to demo.kdi?"));
  }

  // The floppy driver warning comes only where a floppy device is there,
  // and not again once "Do not show this again" was ticked.
  void FloppyDriverWarningOnlyForADeviceAndUntilHidden() {
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    kelvo::CMemoryKeyValueStore store;
    store.SetString("Floppy A Device", "/dev/sdx");
    store.SetString("Floppy B Device", "/dev/fd1");
    kelvo::StartupOptions options;
    options.system_root = root;
    options.trace_log_path = root / "kdisk32.log";
    QStringList shown;  // "text|check box" of each warning, the box ticked
    options.warn_with_check = [&shown](const std::string& text, const std::string& check) {
      shown << QString::fromStdString(text + "|" + check);
      return true;
    };
    const auto start = [&] {
      shown.clear();
      kelvo::test::ScriptedInteraction ui;
      kelvo::AppState state;
      kelvo::StartUp(state, store, ui, options);
      kelvo::ShutDown(state, store);
      return shown;
    };
    QVERIFY(start().empty());  // nothing bound is there
    QVERIFY(QDir(dir.path()).mkpath("dev"));
    MakeFiles(dir.filePath("dev"), {"sdx"}, 0);  // a USB floppy, no floppy driver
    QCOMPARE(start(), QStringList{QString::fromLatin1(kelvo::kFloppyDriverMissingText) + "|Do not show this again"});
    QVERIFY(start().empty());  // ticked the first time
  }

  // "To:" names a floppy drive without the backslash of its place text.
  void CopyWindowNamesTheFloppyWithoutBackslash() {
    const std::pair<const char*, const char*> cases[] = {{"Floppy Drive A:\\", "Floppy Drive A:"},
                                                          {"/home/user/", "/home/user/"},
                                                          {"demo.kdi", "demo.kdi"}};
    for (const auto& [place, shown] : cases) {
      CCopyFilesDlg dialog;
      dialog.SetTo(place);
      QCOMPARE(dialog.ToText(), QString::fromLatin1(shown));
    }
  }
};

QTEST_MAIN(DesktopFaultsTest)
#include "desktop_faults_test.moc"
