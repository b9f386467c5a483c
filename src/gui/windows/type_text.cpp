#include "gui/windows/type_text.h"

#include "filetypes/file_types.h"

namespace kelvo::gui {

QString TypeDescription(std::string_view code) {
  return QString::fromStdString(GetFileTypeDescription(code));
}

}  // namespace kelvo::gui
