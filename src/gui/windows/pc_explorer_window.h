// The PC explorer window (place kind 0): the tree of volumes and folders on
// the left, the files of the selected folder on the right, watched for changes.
#pragma once

#include <QFileSystemWatcher>

#include "gui/windows/child_frame_window.h"

namespace kelvo::gui {

class CMainDriveView;

class CPcExplorerWindow : public CChildFrameWindow {
  Q_OBJECT
 public:
  explicit CPcExplorerWindow(ShellContext& ctx, QWidget* parent = nullptr);

  QString PlaceText() const override { return folder_; }
  QString DocumentTitle() const override { return title_; }
  QString ListingHeadingText() const override;
  void Refresh() override;
  // Lists `folder` and selects it in the tree; false when it is not a folder.
  bool OpenFolder(const QString& folder);
  // Lists the current folder again (after a transfer or a setting change).
  void Relist();
  CMainDriveView* Tree() const { return tree_; }
  // Milliseconds the last listing of the folder took.
  qint64 LastListMs() const { return last_list_ms_; }
  // Opens a file of the current folder in the viewer of its type.
  void OpenEntry(int row);

 Q_SIGNALS:
  void openFileRequested(const QString& path);

 protected:
  ErrorCode DoDelete(const QStringList& names) override;
  ErrorCode DoRename(const QString& old_name, const QString& new_name) override;
  QMimeData* MakeDragData() override;

 private:
  void ShowFolder(const QString& folder);

  QString title_;
  QString folder_;
  CMainDriveView* tree_;
  QFileSystemWatcher watcher_;
  qint64 last_list_ms_ = 0;
};

// The computer's name, or "This Computer" when it cannot be read.
QString ComputerName();

}  // namespace kelvo::gui
