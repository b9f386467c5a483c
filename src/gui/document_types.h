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
// then "All Files (*)".
QStringList OpenDialogFilters();
// The type whose extension the path has (without regard to case), or null.
const DocumentType* DocumentTypeOf(const QString& path);

}  // namespace kelvo::gui
