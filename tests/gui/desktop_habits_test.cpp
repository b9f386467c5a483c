// The desktop's keys in the file lists reach their commands, and the list's
// context menu offers the commands of an entry.
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <memory>

#include "gui/shell/context_menus.h"
#include "gui/viewers/image_frame.h"
#include "gui/windows/pc_explorer_window.h"
#include "support/gui_fixture.h"
#include "support/viewer_files.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

class DesktopHabitsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void EachKeyReachesItsCommand() {
    struct Case {
      const char* what;
      QKeyCombination key;
      std::function<bool(Shell&, CPcExplorerWindow*)> reached;
    };
    const Case cases[] = {
        {"F2 renames", Qt::Key_F2, [](Shell&, CPcExplorerWindow* pc) { return pc->ListView()->Editing(); }},
        {"Ctrl+A selects all", Qt::CTRL | Qt::Key_A,
         [](Shell&, CPcExplorerWindow* pc) { return pc->ListView()->SelectedRows().size() == 3; }},
        {"Enter opens", Qt::Key_Return,
         [](Shell& shell, CPcExplorerWindow*) { return ActiveChild<CImgFrame>(*shell.frame) != nullptr; }},
        {"Delete deletes", Qt::Key_Delete,
         [](Shell& shell, CPcExplorerWindow*) {
           return shell.ui.Texts() == std::vector<std::string>{"Delete the currently selected files?"};
         }},
        {"Ctrl+W closes the window", Qt::CTRL | Qt::Key_W,
         [](Shell& shell, CPcExplorerWindow*) {
           QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
           return shell.frame->MdiArea()->subWindowList().isEmpty();
         }},
        {"F5 refreshes", Qt::Key_F5,
         [](Shell&, CPcExplorerWindow* pc) { return pc->Model()->FindRow("NEW.JSL") >= 0; }},
    };
    for (const Case& c : cases) {
      QTemporaryDir dir;
      MakeFiles(dir.path(), {"A.JSL", "B.JSL"});
      WriteViewerFile(dir.path(), "VIEW.IMG", BlockImageFile(64, 16, 8, 8));
      Shell shell;
      CPcExplorerWindow* pc = shell.Start(dir.path());
      QTreeView* view = pc->ListView()->DetailsView();
      view->setFocus();
      view->setCurrentIndex(pc->Model()->index(pc->Model()->FindRow("VIEW.IMG"), 0));
      MakeFiles(dir.path(), {"NEW.JSL"}, 10);
      QTest::keyClick(view, c.key.key(), c.key.keyboardModifiers());
      QVERIFY2(c.reached(shell, pc), c.what);
    }
  }

  void ListContextMenuOffersTheEntryCommands() {
    QTemporaryDir dir;
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    std::unique_ptr<QMenu> menu(MakeListContextMenu(*shell.frame, pc));
    QStringList texts;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) texts << a->text().remove('&');
    QCOMPARE(texts, (QStringList{"Open", "Copy To...", "Rename", "Delete", "Properties"}));
    // The entries are the main window's commands, keys included.
    QCOMPARE(menu->actions().value(3)->shortcut(), QKeySequence(Qt::Key_F2));
  }
};

QTEST_MAIN(DesktopHabitsTest)
#include "desktop_habits_test.moc"
