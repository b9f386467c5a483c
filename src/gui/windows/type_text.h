// Type and name texts of printer files for the lists and dialogs, kept in a
// file of their own so windows that also use the disk structures need not
// include the file type catalogue.
#pragma once

#include <QString>
#include <string_view>

namespace kelvo::gui {

// The catalogue description of a type code ("Job Source File").
QString TypeDescription(std::string_view code);

}  // namespace kelvo::gui
