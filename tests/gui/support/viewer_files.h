// Inputs and probes of the viewer window tests: printer files written to a
// folder, and a tally of the colours painted in a part of a window.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "support/gui_fixture.h"
#include "support/viewer_image_builder.h"

namespace kelvo::gui::test {

// An image file `dots` wide and `lines` high whose ink fills the block of
// the first `ink_dots` dots of the first `ink_lines` lines; the header comes
// from `header` (its size and raster are filled in).
std::string BlockImageFile(int dots, int lines, int ink_dots, int ink_lines,
                           kelvo::test::ImageFileSpec header = {});

// A font of `orientation` with a solid glyph for "A" (code 65, 16 dots by
// 8 rows) and none for "B".
std::string FontWithA(char orientation = 'P');

// The colours found in an area, with anti-aliased text counted by its hue
// against the white background.
struct ColourTally {
  int black = 0, red = 0, green = 0, blue = 0, magenta = 0, other = 0;
  int Any() const { return black + red + green + blue + magenta + other; }
};
ColourTally TallyColours(const QImage& image, const QRect& area);

// Writes folder/name, opens it in `frame` and returns its window as a `T`
// (null when it did not open as one).
template <class T>
T* OpenViewer(CMainFrame& frame, const QString& folder, const QString& name,
              const std::string& bytes) {
  if (!frame.OpenDocument(WriteFile(folder, name, QByteArray::fromStdString(bytes)))) return nullptr;
  return ActiveChild<T>(frame);
}

}  // namespace kelvo::gui::test
