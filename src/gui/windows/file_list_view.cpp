#include "gui/windows/file_list_view.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMimeData>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/windows/status_window.h"
#include "gui/windows/tree_drops.h"

namespace kelvo::gui {
namespace {

struct EditStateQuery {
  virtual ~EditStateQuery() = default;
  virtual bool IsEditing() const = 0;
};

// The gesture handling both item views share.
template <class Base>
class CListWidgetOf : public Base, public EditStateQuery {
 public:
  bool IsEditing() const override { return this->state() == QAbstractItemView::EditingState; }
  explicit CListWidgetOf(CFileListView* owner) : Base(owner), owner_(owner) {
    this->setDragEnabled(true);
    this->setAcceptDrops(true);
    this->setDropIndicatorShown(false);
    this->setDragDropMode(QAbstractItemView::DragDrop);
    this->setDefaultDropAction(Qt::CopyAction);
    this->setSelectionMode(QAbstractItemView::ExtendedSelection);
    this->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  }
  std::function<void()> on_delete;
  std::function<void(int row)> on_open;
  std::function<void(const QMimeData*)> on_drop;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    const bool editing = this->state() == QAbstractItemView::EditingState;
    if (e->key() == Qt::Key_Delete && !editing) {
      if (on_delete) on_delete();
      return;
    }
    // Enter opens the current entry, as a double click does.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !editing &&
        this->currentIndex().isValid()) {
      if (on_open) on_open(this->currentIndex().row());
      return;
    }
    Base::keyPressEvent(e);
  }
  void startDrag(Qt::DropActions) override {
    if (!owner_->make_drag_data) return;
    QMimeData* data = owner_->make_drag_data();
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
  }
  void dragEnterEvent(QDragEnterEvent* e) override {
    if (AcceptsFileDrop(e->mimeData())) e->acceptProposedAction(); else e->ignore();
  }
  void dragMoveEvent(QDragMoveEvent* e) override {
    if (AcceptsFileDrop(e->mimeData())) e->acceptProposedAction(); else e->ignore();
  }
  void dropEvent(QDropEvent* e) override {
    if (!AcceptsFileDrop(e->mimeData())) return e->ignore();
    e->setDropAction(Qt::CopyAction);  // a drop is always handled as a copy
    e->accept();
    if (on_drop) on_drop(e->mimeData());
  }

 private:
  CFileListView* owner_;
};

}  // namespace

CFileListView::CFileListView(CFileListModel* model, QWidget* parent)
    : QWidget(parent), model_(model) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  auto* strip_row = new QHBoxLayout;
  strip_row->setSpacing(1);
  // The heading takes the room left; the count and the sizes stay whole.
  for (int i = 0; i < 3; ++i) {
    captions_[i] = new CStatusWnd(this);
    captions_[i]->SetKeepWhole(i > 0);
    strip_row->addWidget(captions_[i], i == 0 ? 1 : 0);
  }
  layout->addLayout(strip_row);

  auto* details = new CListWidgetOf<QTreeView>(this);
  auto* icons = new CListWidgetOf<QListView>(this);
  details_ = details;
  icons_ = icons;
  details_->setRootIsDecorated(false);
  details_->setUniformRowHeights(true);
  details_->setAllColumnsShowFocus(true);
  details_->setModel(model_);
  details_->header()->setSectionsClickable(true);
  details_->header()->setSortIndicatorShown(false);
  icons_->setModel(model_);
  selection_ = details_->selectionModel();
  icons_->setSelectionModel(selection_);
  for (auto* v : {static_cast<QAbstractItemView*>(details), static_cast<QAbstractItemView*>(icons)}) {
    connect(v, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { Q_EMIT openRequested(i.row()); });
  }
  details->on_delete = icons->on_delete = [this] { Q_EMIT deletePressed(); };
  details->on_open = icons->on_open = [this](int row) { Q_EMIT openRequested(row); };
  details->on_drop = icons->on_drop = [this](const QMimeData* d) { Q_EMIT dropped(d); };
  connect(details_->header(), &QHeaderView::sectionClicked, this,
          [this](int section) { model_->sort(section); });
  connect(details_->header(), &QHeaderView::sectionResized, this,
          [this] { Q_EMIT columnResized(); });

  stack_ = new QStackedWidget(this);
  stack_->addWidget(details_);
  stack_->addWidget(icons_);
  layout->addWidget(stack_, 1);
  SetPresentation(Presentation::Details);
}

void CFileListView::SetCaptions(const QString& contents, const QString& count,
                                const QString& sizes) {
  captions_[0]->SetText(contents);
  captions_[1]->SetText(count);
  captions_[2]->SetText(sizes);
}

int CFileListView::CaptionsWidth() const {
  int width = 2;  // the spacing between the three
  for (const CStatusWnd* caption : captions_) width += caption->sizeHint().width();
  return width;
}

QStringList CFileListView::CaptionTexts() const {
  return {captions_[0]->Text(), captions_[1]->Text(), captions_[2]->Text()};
}

void CFileListView::SetPresentation(Presentation p) {
  presentation_ = p;
  if (p == Presentation::Details) {
    stack_->setCurrentWidget(details_);
    return;
  }
  if (p == Presentation::LargeIcons) {
    icons_->setViewMode(QListView::IconMode);
    icons_->setIconSize({32, 32});
    icons_->setGridSize({96, 64});
    icons_->setFlow(QListView::LeftToRight);
  } else {
    icons_->setViewMode(QListView::ListMode);
    icons_->setIconSize({16, 16});
    icons_->setGridSize({});
    // Small icons run across, the list presentation runs down in columns.
    icons_->setFlow(p == Presentation::SmallIcons ? QListView::LeftToRight
                                                  : QListView::TopToBottom);
    icons_->setWrapping(true);
  }
  icons_->setMovement(QListView::Static);
  icons_->setResizeMode(QListView::Adjust);
  stack_->setCurrentWidget(icons_);
}

QAbstractItemView* CFileListView::CurrentView() const {
  return presentation_ == Presentation::Details ? static_cast<QAbstractItemView*>(details_)
                                                : static_cast<QAbstractItemView*>(icons_);
}

QList<int> CFileListView::SelectedRows() const {
  QList<int> rows;
  for (const QModelIndex& i : selection_->selectedRows(0)) rows << i.row();
  std::sort(rows.begin(), rows.end());
  return rows;
}

QStringList CFileListView::SelectedNames() const {
  QStringList names;
  for (int r : SelectedRows()) names << model_->Row(r).name;
  return names;
}

void CFileListView::SelectAll() { CurrentView()->selectAll(); }

void CFileListView::SelectNames(const QStringList& names) {
  selection_->clearSelection();
  for (const QString& n : names) {
    const int r = model_->FindRow(n);
    if (r >= 0)
      selection_->select(model_->index(r, 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
}

bool CFileListView::Editing() const {
  auto* query = dynamic_cast<EditStateQuery*>(CurrentView());
  return query && query->IsEditing();
}

bool CFileListView::EditCurrent() {
  QModelIndex i = selection_->currentIndex();
  const QList<int> rows = SelectedRows();
  if (!rows.isEmpty() && (!i.isValid() || !selection_->isRowSelected(i.row())))
    i = model_->index(rows.first(), 0);
  if (!i.isValid()) return false;
  i = i.siblingAtColumn(0);
  CurrentView()->setCurrentIndex(i);
  CurrentView()->edit(i);
  return Editing();
}

void CFileListView::SetColumnWidths(const QList<int>& widths) {
  // Every column is at least as wide as its heading ("Seq No." included).
  const QFontMetrics fm = details_->header()->fontMetrics();
  for (int c = 0; c < widths.size() && c < model_->columnCount(); ++c) {
    const QString heading = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    details_->setColumnWidth(c, std::max(widths[c], fm.horizontalAdvance(heading) + 3 * fm.averageCharWidth()));
  }
}

QList<int> CFileListView::ColumnWidths() const {
  QList<int> w;
  for (int c = 0; c < model_->columnCount(); ++c) w << details_->columnWidth(c);
  return w;
}

}  // namespace kelvo::gui
