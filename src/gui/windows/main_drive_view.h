// CMainDriveView: the PC explorer's tree of mounted volumes (the root first,
// then the user's home, then the other mounted file systems) with their
// folders, read when a branch is expanded and read again when a watched
// folder changes.
#pragma once

#include <QFileSystemWatcher>
#include <QTreeWidget>
#include <memory>

#include "gui/windows/mount_watch.h"

namespace kelvo::gui {

class CMainDriveView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CMainDriveView(QWidget* parent = nullptr);
  ~CMainDriveView() override;

  // Lists the volumes of the mount table `table` (the system's by default)
  // and follows its changes.
  void SetMountTable(const QString& table);
  // The folders of the volumes shown, in tree order.
  QStringList VolumeFolders() const;

  // Re-reads the volumes and the folders of every expanded branch.
  void Reload();
  // Expands the branches down to `path` and selects it.
  bool SelectFolder(const QString& path);
  QString SelectedFolder() const;
  QStringList WatchedFolders() const { return watcher_.directories(); }
  // Re-reads the branches showing `path` (the watcher's report of a change),
  // keeping the selected folder selected while it exists.
  void OnFolderChanged(const QString& path);

 Q_SIGNALS:
  void folderSelected(const QString& path);

 private:
  void FillChildren(QTreeWidgetItem* item);
  // Expands `item`, reading its folders first when they were not read.
  void Expand(QTreeWidgetItem* item);
  // Scrolls to the current folder, sideways too so that its name (not only
  // its indentation) shows; again whenever the pane changes size.
  void ShowCurrent();
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  QTreeWidgetItem* AddVolume(const QString& label, const QString& path);

  QFileSystemWatcher watcher_;
  std::unique_ptr<CMountWatch> mounts_;
};

}  // namespace kelvo::gui
