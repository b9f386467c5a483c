#include "gui/windows/tree_drops.h"

#include <QDragMoveEvent>
#include <QDropEvent>

#include "gui/shell/drag_payload.h"

namespace kelvo::gui {
namespace {

class CTreeDropFilter : public QObject {
 public:
  CTreeDropFilter(QTreeWidget* tree, TreeDropHandler on_drop)
      : QObject(tree), tree_(tree), on_drop_(std::move(on_drop)) {}

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* d = static_cast<QDragMoveEvent*>(e);
        if (AcceptsFileDrop(d->mimeData()) && ItemAt(d->position().toPoint())) {
          d->setDropAction(Qt::CopyAction);
          d->accept();
        } else {
          d->ignore();
        }
        return true;
      }
      case QEvent::Drop: {
        auto* d = static_cast<QDropEvent*>(e);
        QTreeWidgetItem* item = ItemAt(d->position().toPoint());
        if (!item || !AcceptsFileDrop(d->mimeData())) {
          d->ignore();
          return true;
        }
        d->setDropAction(Qt::CopyAction);  // a drop is always handled as a copy
        d->accept();
        on_drop_(item, d->mimeData());
        return true;
      }
      default:
        return false;
    }
  }

 private:
  QTreeWidgetItem* ItemAt(QPoint pos) const { return tree_->itemAt(pos); }

  QTreeWidget* tree_;
  TreeDropHandler on_drop_;
};

}  // namespace

bool AcceptsFileDrop(const QMimeData* data) {
  return data && (data->hasFormat(QString::fromLatin1(kFileListMimeType)) || data->hasUrls());
}

void AcceptTreeDrops(QTreeWidget* tree, TreeDropHandler on_drop) {
  tree->setAcceptDrops(true);
  tree->viewport()->setAcceptDrops(true);
  tree->setDropIndicatorShown(false);
  tree->viewport()->installEventFilter(new CTreeDropFilter(tree, std::move(on_drop)));
}

}  // namespace kelvo::gui
