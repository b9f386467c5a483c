// CChildFrameWindow: an explorer child window showing one place in a tree
// pane (where the kind has one) and a file list. The commands common to every
// kind live here; each place kind supplies listing, delete and rename.
#pragma once

#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <functional>

#include "gui/windows/file_list_view.h"
#include "transfer/place_kind.h"
#include "gui/shell/shell_context.h"
#include "core/error_codes.h"

class QSplitter;
class QMimeData;

namespace kelvo::gui {

// The place-specific parts of a listing (print and "Save File List").
struct ListingHeading {
  QString heading;  // "Listing of files contained in ..." and so on
};

class CChildFrameWindow : public QWidget {
  Q_OBJECT
 public:
  CChildFrameWindow(ShellContext& ctx, PlaceKind kind, QWidget* parent = nullptr);

  PlaceKind Kind() const { return kind_; }
  // The place text: the window's title, by which transfers find the window.
  virtual QString PlaceText() const = 0;
  // Re-reads the place and lists it again.
  virtual void Refresh() = 0;
  virtual void ShowProperties() {}
  // Asked before the list is printed; false cancels the printing.
  virtual bool PrepareListingPrint() { return true; }
  // First line of the listing of this place.
  virtual QString ListingHeadingText() const = 0;
  // The text the main window shows in its title bar.
  virtual QString DocumentTitle() const { return PlaceText(); }
  // Unsaved changes (disk images kept in memory).
  virtual bool Modified() const { return false; }
  // Asked before the window closes (not while it is busy); false keeps it open.
  virtual bool ConfirmClose() { return true; }
  // Empties the file list and its count without reading the place again.
  virtual void ClearList();

  // Asks "Delete the currently selected files?" and deletes them.
  void DeleteSelected();
  // Starts editing the selected name in place.
  void RenameSelected();
  // The status bar's "%d file(s) selected (%s)".
  QString SelectionSummary() const;

  // Set while a long operation or a transfer works on this window's place:
  // the window then refuses to close.
  bool Busy() const { return busy_; }
  void SetBusy(bool busy) { busy_ = busy; }
  // While a command works on this window's place: busy (refuses to close)
  // and disabled.
  void SetCommandRunning(bool running);
  CFileListView* ListView() const { return list_; }
  CFileListModel* Model() const { return model_; }
  ShellContext& Context() const { return ctx_; }

  // Lists one entry more, or drops one (transfers keep an open window in step).
  void AddEntry(const FileRow& row) { model_->AddOrReplaceRow(row); }
  void DropEntry(const QString& name) { model_->RemoveRow(name); }

  // Exports the named files of this place into a folder of the PC for a drag
  // out to the desktop and returns their URLs (set by the main window).
  std::function<QList<QUrl>(const QStringList& names)> export_for_drag;

 Q_SIGNALS:
  // A drag was dropped on this window's list or tree.
  void dropReceived(CChildFrameWindow* target, const QMimeData* data);
  // Something that the status bar or the menus show changed.
  void stateChanged();

 protected:
  virtual ErrorCode DoDelete(const QStringList& names) = 0;
  virtual ErrorCode DoRename(const QString& old_name, const QString& new_name) = 0;
  // Drag data for the selected entries (the "KelvoFileList" block at least).
  virtual QMimeData* MakeDragData();
  // The selected names in the order a transfer takes them.
  virtual QStringList TransferNames() const { return list_->SelectedNames(); }
  // Puts `tree` under a caption strip reading `caption` in the left pane.
  void SetTreePane(const QString& caption, QWidget* tree);
  void ReportFailure(ErrorCode code);
  void closeEvent(QCloseEvent* e) override;

 private:
  void OnRenameRequested(int row, const QString& new_name);

  ShellContext& ctx_;
  PlaceKind kind_;
  CFileListModel* model_;
  CFileListView* list_;
  QSplitter* splitter_;
  bool busy_ = false;
};

}  // namespace kelvo::gui
