// Draws the demo letterhead (the program's icon beside a company name) at
// 300 dpi and encodes it as a printer image file.
#pragma once

#include <string>

namespace kelvo::demo {

// Needs a QGuiApplication. `iconPath`: the SVG drawn at the left.
bool DrawLetterheadImage(const std::string& iconPath, std::string& imageFile, std::string& error);

}  // namespace kelvo::demo
