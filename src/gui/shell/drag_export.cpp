#include "gui/shell/drag_export.h"

#include <QDir>
#include <QFileInfo>


namespace kelvo::gui {
namespace {

const QString kUriList = QStringLiteral("text/uri-list");

}  // namespace

QStringList CFileDragData::formats() const {
  QStringList f = QMimeData::formats();
  if (exporter_ && !f.contains(kUriList)) f << kUriList;
  return f;
}

bool CFileDragData::hasFormat(const QString& mime_type) const {
  return formats().contains(mime_type);
}

const QList<QUrl>& CFileDragData::ExportedUrls() const {
  if (!urls_) urls_ = exporter_ ? exporter_() : QList<QUrl>();
  return *urls_;
}

QVariant CFileDragData::retrieveData(const QString& mime_type, QMetaType type) const {
  if (mime_type != kUriList || !exporter_) return QMimeData::retrieveData(mime_type, type);
  const QList<QUrl>& urls = ExportedUrls();
  if (type.id() == QMetaType::QByteArray || type.id() == QMetaType::QString) {
    QByteArray text;
    for (const QUrl& url : urls) text += url.toEncoded() + "\r\n";
    return text;
  }
  QVariantList list;
  for (const QUrl& url : urls) list << url;
  return list;
}

QString CDragExportFolders::BaseFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
    return runtime;
  return QDir::tempPath();
}

QString CDragExportFolders::NewFolder() {
  const QDateTime now = QDateTime::currentDateTimeUtc();
  std::erase_if(folders_, [&](const Folder& f) {
    return f.made.secsTo(now) >= static_cast<qint64>(keep_.count());
  });
  Folder f{std::make_unique<QTemporaryDir>(BaseFolder() + QStringLiteral("/kdisk-drag-XXXXXX")),
           now};
  if (!f.dir->isValid()) return {};
  const QString path = f.dir->path();
  folders_.push_back(std::move(f));
  return path;
}

}  // namespace kelvo::gui
