#include "gui/pc_folder_lister.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStorageInfo>

#if __has_include("filetypes/file_types.h")
#include "filetypes/file_types.h"
#define KDISK_HAVE_FILETYPES 1
#endif

namespace kelvo::gui {
namespace {

bool PassesFilter(const QString& name, bool show_all) {
#ifdef KDISK_HAVE_FILETYPES
  return show_all || IsKelvoFileName(name.toStdString());
#else
  (void)name;
  (void)show_all;
  return true;  // UNFINISHED: no filter until the file type catalogue is merged
#endif
}

}  // namespace

QString PcTypeText(const QString& file_name) {
#ifdef KDISK_HAVE_FILETYPES
  const std::string name = file_name.toStdString();
  if (IsKelvoFileName(name)) {
    const qsizetype dot = file_name.lastIndexOf(QLatin1Char('.'));
    return QString::fromStdString(GetFileTypeDescription(file_name.mid(dot + 1).toStdString()));
  }
  return QString::fromStdString(GetPcFileTypeName(name));
#else
  (void)file_name;
  return QString();
#endif
}

PcFolderListing ListPcFolder(const QString& folder, bool show_all_types) {
  PcFolderListing out;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
  while (it.hasNext()) {
    it.next();
    const QFileInfo info = it.fileInfo();
    const QString name = info.fileName();
    if (!PassesFilter(name, show_all_types)) continue;
    FileRow row;
    row.name = name;
    row.size = static_cast<quint64>(info.size());
    row.type = PcTypeText(name);
    row.modified_ms = info.lastModified().toMSecsSinceEpoch();
    out.total_size += row.size;
    out.rows.push_back(std::move(row));
  }
  const QStorageInfo storage(folder);
  if (storage.isValid()) out.free_space = static_cast<quint64>(storage.bytesAvailable());
  return out;
}

}  // namespace kelvo::gui
