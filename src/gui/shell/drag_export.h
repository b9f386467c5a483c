// Dragging printer files out to the desktop's file manager. The drag data
// offers text/uri-list besides the "KelvoFileList" block; the files behind
// the URLs are exported (with the usual conversion of source files) into a
// private folder only when a receiver asks for the list, so drags that end
// inside the program, which read the block, export nothing.
#pragma once

#include <QDateTime>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kelvo::gui {

class CFileDragData : public QMimeData {
  Q_OBJECT
 public:
  using Exporter = std::function<QList<QUrl>()>;
  // `exporter` makes the files and returns their URLs; it runs once, at the
  // first request for the URL list.
  explicit CFileDragData(Exporter exporter) : exporter_(std::move(exporter)) {}

  QStringList formats() const override;
  bool hasFormat(const QString& mime_type) const override;

 protected:
  QVariant retrieveData(const QString& mime_type, QMetaType type) const override;

 private:
  const QList<QUrl>& ExportedUrls() const;

  Exporter exporter_;
  mutable std::optional<QList<QUrl>> urls_;
};

// The private folders dragged files are exported into: one per drag, made
// under $XDG_RUNTIME_DIR (else the temporary folder) and readable by the
// user only. A file manager copies from them after the drop, so they stay
// for `keep` and are removed by a later drag, and all when this ends.
class CDragExportFolders {
 public:
  explicit CDragExportFolders(std::chrono::seconds keep = std::chrono::minutes(15))
      : keep_(keep) {}
  // A new empty folder; empty when none could be made.
  QString NewFolder();
  // Where the folders are made.
  static QString BaseFolder();
  int Count() const { return static_cast<int>(folders_.size()); }

 private:
  struct Folder {
    std::unique_ptr<QTemporaryDir> dir;
    QDateTime made;
  };
  std::chrono::seconds keep_;
  std::vector<Folder> folders_;
};

}  // namespace kelvo::gui
