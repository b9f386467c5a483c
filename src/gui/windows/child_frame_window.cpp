#include "gui/windows/child_frame_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMimeData>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "gui/windows/status_window.h"
#include "gui/shell/drag_export.h"
#include "gui/shell/drag_payload.h"
#include "gui/windows/size_text.h"
#include "gui/windows/tree_drops.h"

namespace kelvo::gui {

CChildFrameWindow::CChildFrameWindow(ShellContext& ctx, PlaceKind kind, QWidget* parent)
    : QWidget(parent), ctx_(ctx), kind_(kind) {
  model_ = new CFileListModel(kind, this);
  list_ = new CFileListView(model_, this);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->addWidget(list_);
  layout->addWidget(splitter_);
  const kelvo::Settings& s = ctx.settings;
  list_->SetColumnWidths({s.NameColumnWidth, s.SizeColumnWidth, s.TypeColumnWidth,
                          kind == PlaceKind::PcFolder ? s.ModifiedColumnWidth : 60});
  list_->make_drag_data = [this] { return MakeDragData(); };
  connect(list_, &CFileListView::deletePressed, this, &CChildFrameWindow::DeleteSelected);
  connect(list_, &CFileListView::dropped, this,
          [this](const QMimeData* d) { Q_EMIT dropReceived(this, d); });
  connect(model_, &CFileListModel::renameRequested, this, &CChildFrameWindow::OnRenameRequested);
  setAttribute(Qt::WA_DeleteOnClose);
}

void CChildFrameWindow::SetTreePane(const QString& caption, QTreeWidget* tree) {
  auto* pane = new QWidget(this);
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  auto* strip = new CStatusWnd(pane);
  strip->SetText(caption);
  tree->setParent(pane);
  layout->addWidget(strip);
  layout->addWidget(tree, 1);
  splitter_->insertWidget(0, pane);
  // The tree keeps its width; the list takes what the window gives.
  splitter_->setSizes({ctx_.settings.DriveViewWidth, ctx_.settings.FileViewWidth});
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  connect(splitter_, &QSplitter::splitterMoved, this, &CChildFrameWindow::RememberPaneWidths);
  AcceptTreeDrops(tree, [this](QTreeWidgetItem* item, const QMimeData* data) { OnTreeDrop(item, data); });
}

void CChildFrameWindow::OnTreeDrop(QTreeWidgetItem*, const QMimeData* data) {
  Q_EMIT dropReceived(this, data);
}

QSize CChildFrameWindow::sizeHint() const {
  // Room for the tree pane and every column of the list, with its scroll
  // bar, and for the caption strip's texts whole.
  const QList<int> columns = list_->ColumnWidths();
  const int frames = 4 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  int width = std::accumulate(columns.begin(), columns.end(), 0) +
              style()->pixelMetric(QStyle::PM_ScrollBarExtent) + frames;
  width = std::max(width, list_->CaptionsWidth() + frames);
  if (splitter_->count() > 1) width += ctx_.settings.DriveViewWidth + splitter_->handleWidth();
  width = std::max(width, list_->minimumSizeHint().width());
  return {width, std::max(320, fontMetrics().height() * 18)};
}

void CChildFrameWindow::RememberPaneWidths() {
  if (splitter_->count() < 2 || !isVisible()) return;
  const QList<int> sizes = splitter_->sizes();
  if (sizes[0] <= 0 || sizes[1] <= 0) return;  // a collapsed pane keeps the last widths
  ctx_.settings.DriveViewWidth = sizes[0];
  ctx_.settings.FileViewWidth = sizes[1];
}

void CChildFrameWindow::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  RememberPaneWidths();
}

void CChildFrameWindow::ReportFailure(ErrorCode code) {
  if (code != 0) ctx_.ui->ReportError(code);
}

void CChildFrameWindow::DeleteSelected() {
  Interaction& ui = *ctx_.ui;
  if (kind_ == PlaceKind::Tape) {
    ui.Beep(BeepKind::Exclamation);
    ui.Ask("Cannot delete tape files.", kAppTitle, Buttons::Ok, Icon::Exclamation);
    return;
  }
  const QStringList names = list_->SelectedNames();
  if (names.isEmpty()) {
    ui.Ask("There are no files selected.", kAppTitle, Buttons::Ok, Icon::Exclamation);
    return;
  }
  if (ui.Ask("Delete the currently selected files?", kAppTitle, Buttons::YesNo,
             Icon::Question) != Button::Yes)
    return;
  ReportFailure(DoDelete(names));
  Q_EMIT stateChanged();
}

void CChildFrameWindow::SetCommandRunning(bool running) {
  SetBusy(running);
  setEnabled(!running);
  Q_EMIT stateChanged();
}

void CChildFrameWindow::ClearList() {
  model_->SetRows({});
  Q_EMIT stateChanged();
}

void CChildFrameWindow::RenameSelected() {
  if (kind_ == PlaceKind::Tape) {
    ctx_.ui->Beep(BeepKind::Exclamation);
    ctx_.ui->Ask("Cannot rename tape files.", kAppTitle, Buttons::Ok, Icon::Exclamation);
    return;
  }
  list_->EditCurrent();
}

void CChildFrameWindow::OnRenameRequested(int row, const QString& new_name) {
  const QString old_name = model_->Row(row).name;
  const ErrorCode code = DoRename(old_name, new_name);
  ReportFailure(code);
}

QString CChildFrameWindow::SelectionSummary() const {
  const QList<int> rows = list_->SelectedRows();
  quint64 total = 0;
  for (int r : rows) total += model_->Row(r).size;
  return QStringLiteral("%1 file(s) selected (%2)").arg(rows.size()).arg(SizeText32(total));
}

QMimeData* CChildFrameWindow::MakeDragData() {
  const QStringList names = TransferNames();
  if (names.isEmpty()) return nullptr;
  ctx_.SetTransferSelection(names);
  // Printer files reach a file manager as files exported when it asks for
  // them; tapes are left out, since reading one can take minutes.
  CFileDragData::Exporter exporter;
  if ((kind_ == PlaceKind::Floppy || kind_ == PlaceKind::DiskImage) && export_for_drag)
    exporter = [export_files = export_for_drag, names] { return export_files(names); };
  auto* data = new CFileDragData(std::move(exporter));
  data->setData(QString::fromLatin1(kFileListMimeType),
                EncodeFileList({static_cast<int>(kind_), static_cast<int>(names.size()),
                                reinterpret_cast<quintptr>(this)}));
  return data;
}

void CChildFrameWindow::closeEvent(QCloseEvent* e) {
  if (busy_) {
    ctx_.ui->Beep(BeepKind::Exclamation);
    e->ignore();
    return;
  }
  if (!ConfirmClose()) {
    e->ignore();
    return;
  }
  e->accept();
}

}  // namespace kelvo::gui
