// CMainDriveView: the PC explorer's tree of mounted volumes (the root first,
// then the user's home, then the other mounted file systems) with their
// folders, read when a branch is expanded and read again when a watched
// folder changes.
#pragma once

#include <QFileSystemWatcher>
#include <QTreeWidget>

namespace kelvo::gui {

class CMainDriveView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CMainDriveView(QWidget* parent = nullptr);

  // Re-reads the volumes and the folders of every expanded branch.
  void Reload();
  // Expands the branches down to `path` and selects it.
  bool SelectFolder(const QString& path);
  QString SelectedFolder() const;
  QStringList WatchedFolders() const { return watcher_.directories(); }

 Q_SIGNALS:
  void folderSelected(const QString& path);

 private:
  void FillChildren(QTreeWidgetItem* item);
  void OnFolderChanged(const QString& path);
  QTreeWidgetItem* AddVolume(const QString& label, const QString& path);

  QFileSystemWatcher watcher_;
};

}  // namespace kelvo::gui
