// The system's mount table: the mounted file systems it lists, and a watch
// that reports each mount and unmount (the kernel's table signals a change
// as a priority event; a table in a plain file changes as the file does).
#pragma once

#include <QFile>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace kelvo::gui {

inline constexpr const char* kSystemMountTable = "/proc/self/mounts";

struct MountedFileSystem {
  QString root;  // where it is mounted
  QString type;  // file system type ("ext4", "vfat", ...)
};

// The file systems listed in the table at `path` (the format of
// /proc/self/mounts); false when the table cannot be read.
bool ReadMountTable(const QString& path, std::vector<MountedFileSystem>& out);

class CMountWatch : public QObject {
  Q_OBJECT
 public:
  explicit CMountWatch(const QString& table, QObject* parent = nullptr);
  ~CMountWatch() override;
  QString Table() const { return table_; }

 Q_SIGNALS:
  // A file system was mounted or unmounted.
  void changed();

 private:
  void OnFileChanged();

  QString table_;
  QFile file_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QFileSystemWatcher watcher_;
};

}  // namespace kelvo::gui
