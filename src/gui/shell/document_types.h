// The document types in their registration order, which is also the order of
// the Open dialog's filter list.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kelvo::gui {

struct DocumentType {
  QString new_name;     // "Disk Image File"
  QString filter_name;  // "Disk Images (*.KDI)"
  QString extension;    // ".kdi"
  QString type_id;      // "Disk Image.Document"
};

const std::vector<DocumentType>& DocumentTypes();
// The Open dialog's filters: one per type ("Disk Images (*.KDI *.kdi)"),
// then the archivists' raw floppy images, then "All Files (*)".
QStringList OpenDialogFilters();
// Index of the archivists' floppy images filter in OpenDialogFilters().
int FloppyImageFilterIndex();
// Whether `path` opens as a disk image: ".kdi", the archivists' ".ima",
// ".dsk" and ".imd", and an ".img" that holds a printer disk (a raw floppy
// image; any other ".img" is a printer image file for the image viewer).
bool OpensAsDiskImage(const QString& path);
// The type whose extension the path has (without regard to case), or null.
const DocumentType* DocumentTypeOf(const QString& path);

}  // namespace kelvo::gui
