#include "gui/shell/document_types.h"

#include <QFile>

#include "diskfs/mount.h"
#include "diskfs/disk_image_doc.h"
#include "media/imd_image.h"

namespace kelvo::gui {

const std::vector<DocumentType>& DocumentTypes() {
  static const std::vector<DocumentType> types = {
      {"Disk Image File", "Disk Images (*.KDI)", ".kdi", "Disk Image.Document"},
      {"Patch File", "Patches (*.PCH)", ".pch", "Patch.Document"},
      {"Job Source File", "Job Source (*.JSL)", ".jsl", "Job Source.Document"},
      {"Command File", "Command File (*.CMD)", ".cmd", "Command File.Document"},
      {"Form Source File", "Form Source (*.FSL)", ".fsl", "Form Source.Document"},
      {"Font", "Font (*.FNT)", ".fnt", "Font.Document"},
      {"IMG", "Image (*.IMG)", ".img", "IMG.Document"},
      {"Task", "Task (*.TSK)", ".tsk", "Task.Document"},
  };
  return types;
}

QStringList OpenDialogFilters() {
  QStringList filters;
  // File names on Linux are case sensitive, so the lower-case pattern is
  // offered beside the upper-case one: "Disk Images (*.KDI *.kdi)".
  for (const DocumentType& t : DocumentTypes()) {
    QString filter = t.filter_name;
    filter.insert(filter.size() - 1, QStringLiteral(" *") + t.extension);
    filters << filter;
  }
  filters << QStringLiteral(
      "Floppy Images (*.IMG *.IMA *.DSK *.IMD *.HFE *.SCP *.img *.ima *.dsk *.imd *.hfe *.scp)");
  filters << QStringLiteral("All Files (*)");
  return filters;
}

int FloppyImageFilterIndex() { return static_cast<int>(DocumentTypes().size()); }

namespace {

// A raw image of a printer disk: long enough and block 1 marked "$Y$"; or
// an ImageDisk archive.
bool HoldsPrinterDisk(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray head = file.read(2 * kBlockSize);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(head.constData());
  if (IsEncodedImage({bytes, static_cast<std::size_t>(head.size())})) return true;
  return file.size() >= static_cast<qint64>(kMinImageBytes) && head.size() == 2 * kBlockSize &&
         HasKelvoMark(bytes + kBlockSize);
}

}  // namespace

bool OpensAsDiskImage(const QString& path) {
  if (path.endsWith(QLatin1String(".kdi"), Qt::CaseInsensitive)) return true;
  for (const char* ext : {".ima", ".dsk", ".imd", ".hfe", ".scp"})
    if (path.endsWith(QLatin1String(ext), Qt::CaseInsensitive)) return true;
  return path.endsWith(QLatin1String(".img"), Qt::CaseInsensitive) && HoldsPrinterDisk(path);
}

const DocumentType* DocumentTypeOf(const QString& path) {
  for (const DocumentType& t : DocumentTypes())
    if (path.endsWith(t.extension, Qt::CaseInsensitive)) return &t;
  return nullptr;
}

}  // namespace kelvo::gui
