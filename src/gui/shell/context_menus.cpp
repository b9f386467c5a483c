#include "gui/shell/context_menus.h"

#include <QAbstractItemView>
#include <QListView>
#include <QTreeView>
#include <QAction>
#include <QCursor>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTreeWidget>
#include <memory>

#include "gui/shell/main_frame.h"
#include "gui/windows/child_frame_window.h"
#include "gui/windows/pc_explorer_window.h"

namespace kelvo::gui {
namespace {

void AddFrameCommand(QMenu* menu, CMainFrame& frame, Cmd cmd) {
  if (QAction* a = frame.Action(cmd)) menu->addAction(a);
}

// Runs `drop` with the drag data of `window`'s selection, as a drag would.
template <class Drop>
void DropSelection(CChildFrameWindow* window, Drop drop) {
  if (!window->ListView()->make_drag_data) return;
  std::unique_ptr<QMimeData> data(window->ListView()->make_drag_data());
  if (data) drop(data.get());
}

void ShowListMenu(CMainFrame& frame, CChildFrameWindow* window, QAbstractItemView* view,
                  const QPoint& at) {
  std::unique_ptr<QMenu> menu(MakeListContextMenu(frame, window));
  frame.OnIdle();  // the commands' enabling of this moment
  if (!window->ListView()->SelectedRows().isEmpty()) menu->exec(view->viewport()->mapToGlobal(at));
}

void ShowTreeMenu(CMainFrame& frame, QTreeWidget* tree, const QPoint& at) {
  QTreeWidgetItem* item = tree->itemAt(at);
  if (!item) return;
  QMenu menu;
  QPointer<QTreeWidget> guard(tree);
  menu.addAction(QStringLiteral("&Open"), tree, [guard, item] {
    if (guard) guard->setCurrentItem(item);
  });
  frame.OnIdle();
  AddFrameCommand(&menu, frame, Cmd::Refresh);
  menu.exec(tree->viewport()->mapToGlobal(at));
}

}  // namespace

QMenu* MakeListContextMenu(CMainFrame& frame, CChildFrameWindow* window) {
  auto* menu = new QMenu;
  QPointer<CChildFrameWindow> guard(window);
  QAction* open = menu->addAction(QStringLiteral("&Open"), window, [guard] {
    if (!guard) return;
    const QList<int> rows = guard->ListView()->SelectedRows();
    if (!rows.isEmpty()) Q_EMIT guard->ListView()->openRequested(rows.first());
  });
  open->setShortcut(QKeySequence(Qt::Key_Return));
  // Only the PC list opens its files in a viewer.
  open->setEnabled(window->Kind() == PlaceKind::PcFolder);
  menu->addAction(QStringLiteral("Copy &To..."), window, [&frame, guard] {
    if (guard) CopySelectionTo(frame, guard);
  });
  menu->addSeparator();
  AddFrameCommand(menu, frame, Cmd::Rename);
  AddFrameCommand(menu, frame, Cmd::Delete);
  menu->addSeparator();
  AddFrameCommand(menu, frame, Cmd::Properties);
  return menu;
}

void CopySelectionTo(CMainFrame& frame, CChildFrameWindow* window) {
  QMenu places;
  // The other open places, and the devices not open yet.
  for (CChildFrameWindow* other : frame.Windows().Explorers()) {
    if (other == window || other->Kind() == PlaceKind::PcFolder) continue;
    QPointer<CChildFrameWindow> target(other);
    places.addAction(other->windowTitle(), [&frame, window, target] {
      if (target) DropSelection(window, [&](const QMimeData* d) { frame.HandleDrop(target, d); });
    });
  }
  if (window->Kind() == PlaceKind::PcFolder) {
    for (const PresentDevice& device : frame.Devices())
      places.addAction(device.Label(), [&frame, window, device] {
        DropSelection(window, [&](const QMimeData* d) { frame.HandleDeviceDrop(device, d); });
      });
  } else {
    places.addAction(QStringLiteral("Folder..."), [&frame, window] {
      CPcExplorerWindow* pc = frame.Windows().OpenPcExplorer();
      const QString folder = QFileDialog::getExistingDirectory(&frame, QStringLiteral("Copy To"),
                                                               pc ? pc->PlaceText() : QString());
      if (folder.isEmpty() || !pc || !pc->OpenFolder(folder)) return;
      DropSelection(window, [&](const QMimeData* d) { frame.HandleDrop(pc, d); });
    });
  }
  if (places.isEmpty()) return;
  places.exec(QCursor::pos());
}

void InstallContextMenus(CMainFrame& frame, CChildFrameWindow* window) {
  CFileListView* list = window->ListView();
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(list->DetailsView()),
                                  static_cast<QAbstractItemView*>(list->IconView())}) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, window,
                     [&frame, window, view](const QPoint& at) { ShowListMenu(frame, window, view, at); });
  }
  for (QTreeWidget* tree : window->findChildren<QTreeWidget*>()) {
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(tree, &QWidget::customContextMenuRequested, window,
                     [&frame, tree](const QPoint& at) { ShowTreeMenu(frame, tree, at); });
  }
}

}  // namespace kelvo::gui
