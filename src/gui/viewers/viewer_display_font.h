// The display font of the source and task views: one fixed-pitch font of
// character height 12, measured once for its character height and width,
// which all line and column arithmetic of those views uses.
#pragma once

#include <QFont>

namespace kelvo::gui {

struct DisplayFont {
  QFont font;
  int char_height = 0;  // the font's cell height in pixels
  int char_width = 0;   // the advance of one character in pixels
  int ascent = 0;
};

// Made and measured on first use, then shared by every view.
const DisplayFont& TheDisplayFont();

}  // namespace kelvo::gui
