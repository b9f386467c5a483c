#include "gui/document_types.h"

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
  filters << QStringLiteral("All Files (*)");
  return filters;
}

const DocumentType* DocumentTypeOf(const QString& path) {
  for (const DocumentType& t : DocumentTypes())
    if (path.endsWith(t.extension, Qt::CaseInsensitive)) return &t;
  return nullptr;
}

}  // namespace kelvo::gui
