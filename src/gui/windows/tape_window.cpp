#include "gui/windows/tape_window.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>
#include <QStyle>
#include <algorithm>

#include "app/engine_setup.h"
#include "gui/windows/listing.h"
#include "gui/shell/window_manager.h"
#include "gui/dialogs/tape_id_dialog.h"

namespace kelvo::gui {

TapeContext MakeTapeContext(ShellContext& ctx) { return kelvo::MakeTapeContext(ctx.app, *ctx.ui); }

CTapeWindow::CTapeWindow(ShellContext& ctx, const QString& drive, QWidget* parent)
    : CChildFrameWindow(ctx, PlaceKind::Tape, parent), drive_(drive) {
  setWindowTitle(drive_);
  setWindowIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
  // The columns keep their proportions, grown with the desktop's font: the
  // widths were made for a font in which a name like REPORT.FNT takes 62
  // of the name column's 90 pixels.
  const double scale =
      std::max(1.0, fontMetrics().horizontalAdvance(QStringLiteral("REPORT.FNT")) / 62.0);
  QList<int> widths;
  for (const TapeListColumn& c : kTapeListColumns) widths << qRound(c.width * scale);
  ListView()->SetColumnWidths(widths);
  // Esc aborts a running listing; the key is left to others otherwise.
  abort_key_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  abort_key_->setContext(Qt::WindowShortcut);
  abort_key_->setEnabled(false);
  connect(abort_key_, &QShortcut::activated, this, &CTapeWindow::RequestListingAbort);
  ShowList();
}

CTapeWindow::~CTapeWindow() { SetWaitCursor(false); }

QString CTapeWindow::ListingHeadingText() const {
  // Printed lists carry the Tape ID; a list never given one names the drive.
  const QString id = TapeId();
  return QStringLiteral("Listing of files contained on: ") + (id.isEmpty() ? drive_ : id);
}

QString CTapeWindow::TapeId() const { return Q(view_.tape_id); }
void CTapeWindow::SetTapeId(const QString& id) { view_.tape_id = S(id); }
QString CTapeWindow::StatusText() const { return Q(view_.status_text); }

void CTapeWindow::Refresh() { ListTape(); }

void CTapeWindow::ShowList(const QString& filter) {
  if (Model()->SortColumn() >= 0) view_.sort_column = Model()->SortColumn();
  const TapeListDisplay shown = ShowTapeList(view_, S(drive_), S(filter));
  std::vector<FileRow> rows;
  rows.reserve(shown.rows.size());
  for (const TapeListEntry* e : shown.rows) {
    FileRow row;
    row.name = Q(e->name);
    row.size = e->byte_length;
    row.type = Q(e->description);
    row.seq = e->sequence + 1;
    row.selectable = IsTapeEntrySelectable(*e);
    rows.push_back(std::move(row));
  }
  Model()->SetRows(std::move(rows));
  if (shown.qva_tape) {
    ListView()->SetCaptions(Q(shown.header),
                            QStringLiteral("A QVA save tape: Tape > Restore Files... (QVA Tape) restores its files"),
                            QString());
  } else {
    ListView()->SetCaptions(Q(shown.header), Q(shown.count_text), Q(shown.total_text));
  }
  Q_EMIT stateChanged();
}

void CTapeWindow::SetStatusText(const std::string& text) {
  view_.status_text = text;
  // The wait cursor covers the rewind, the one step that cannot be aborted.
  SetWaitCursor(text == "Rewinding tape...");
  if (!text.empty()) ListView()->SetCaptions(Q(text), QString(), QString());
}

void CTapeWindow::SetWaitCursor(bool on) {
  if (on == wait_cursor_) return;
  wait_cursor_ = on;
  if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

ErrorCode CTapeWindow::ListTape() {
  ShellContext& ctx = Context();
  if (Busy() || ctx.app.TapeBusy) {
    ctx.ui->Beep(BeepKind::Exclamation);
    return ERR_OK;
  }
  const TapeContext tape = MakeTapeContext(ctx);
  SetBusy(true);
  listing_ = true;
  abort_key_->setEnabled(true);
  const ErrorCode rc = ListTapeFiles(tape, S(drive_), true, view_, *this);
  abort_key_->setEnabled(false);
  listing_ = false;
  SetWaitCursor(false);
  SetBusy(false);
  ShowList();
  return rc;
}

void CTapeWindow::ClearList() {
  ListTapeFiles(MakeTapeContext(Context()), S(drive_), false, view_, *this);
  ShowList();
}

bool CTapeWindow::PrepareListingPrint() {
  CTapeIdDlg dialog(TapeId(), this);
  if (dialog.exec() != QDialog::Accepted) return false;
  SetTapeId(dialog.TapeId());
  return true;
}

bool CTapeWindow::PrintList(QPrinter& printer) {
  if (!PrepareListingPrint()) return false;
  const kelvo::Settings& s = Context().settings;
  return PrintListing(MakeListing(*this, QDateTime::currentDateTime()), printer,
                      s.LeftPrintMargin, s.TopPrintMargin, ListView()->ColumnWidths());
}

QStringList CTapeWindow::TransferNames() const {
  // A restore reads the tape forward once, so the names go in tape order
  // whatever column the list is sorted by.
  std::vector<const FileRow*> rows;
  for (int r : ListView()->SelectedRows()) rows.push_back(&Model()->Row(r));
  std::stable_sort(rows.begin(), rows.end(),
                   [](const FileRow* a, const FileRow* b) { return a->seq < b->seq; });
  QStringList names;
  for (const FileRow* row : rows) names << row->name;
  return names;
}

// The explorer window refuses to delete or rename tape files before asking
// these; they are never reached.
ErrorCode CTapeWindow::DoDelete(const QStringList&) { return ERR_INVALID_FUNCTION; }
ErrorCode CTapeWindow::DoRename(const QString&, const QString&) { return ERR_INVALID_FUNCTION; }

CTapeWindow* FindTapeWindow(const CWindowManager& windows, const QString& drive) {
  for (CChildFrameWindow* ex : windows.Explorers()) {
    auto* tape = qobject_cast<CTapeWindow*>(ex);
    if (tape && tape->Drive().compare(drive, Qt::CaseInsensitive) == 0) return tape;
  }
  return nullptr;
}

CTapeWindow* OpenTapeWindow(CWindowManager& windows, const QString& drive, bool list) {
  CTapeWindow* window = FindTapeWindow(windows, drive);
  const bool opened = !window;
  if (window) {
    for (QMdiSubWindow* sub : windows.MdiArea()->subWindowList())
      if (sub->widget() == window) windows.MdiArea()->setActiveSubWindow(sub);
  } else {
    window = new CTapeWindow(windows.Context(), drive);
    windows.MdiArea()->setActiveSubWindow(windows.AddChild(window));
  }
  if (list) window->ListTape();
  if (opened) windows.GrowToContent(window);
  return window;
}

void CTapeWindow::ShowProperties() {
  Interaction& ui = *Context().ui;
  const QList<int> rows = ListView()->SelectedRows();
  if (rows.isEmpty()) {
    ui.Ask("There are no files selected.", kAppTitle, Buttons::Ok, Icon::Exclamation);
    return;
  }
  const FileRow& row = Model()->Row(rows.first());
  const QString text = QStringLiteral("File Name:\t%1\nFile Size:\t%2\nFile Description:\t%3\nSeq No.:\t%4")
                           .arg(row.name, GroupDigits(row.size), row.type)
                           .arg(row.seq);
  ui.Ask(S(text), "Properties", Buttons::Ok, Icon::Information);
}

}  // namespace kelvo::gui
