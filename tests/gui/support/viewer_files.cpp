#include "support/viewer_files.h"

#include <algorithm>
#include <cstdlib>

#include "support/gui_fixture.h"
#include "support/viewer_font_builder.h"
#include "viewers/image_doc.h"

namespace kelvo::gui::test {

std::string BlockImageFile(int dots, int lines, int ink_dots, int ink_lines,
                           kelvo::test::ImageFileSpec header) {
  const int rounded = RoundedImageDots(dots);
  kelvo::test::RasterEncoder enc(rounded);
  for (int y = 0; y < lines; ++y) {
    std::vector<std::uint8_t> line(static_cast<std::size_t>(rounded / 8), 0);
    if (y < ink_lines)
      for (int x = 0; x < ink_dots; ++x) line[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    enc.Line(line, y % 4);
  }
  enc.End();
  header.dots = dots;
  header.scan_lines = lines;
  header.raster = enc.Bytes();
  return kelvo::test::BuildImageFile(header);
}

std::string FontWithA(char orientation) {
  kelvo::test::FontSpec spec = kelvo::test::DefaultFontSpec(20);
  spec.orientation = orientation;
  spec.inverse_landscape_height = 16;
  spec.glyphs.push_back(kelvo::test::SolidGlyph(65, 8, 2));
  return kelvo::test::BuildFont(spec);
}

ColourTally TallyColours(const QImage& image, const QRect& area) {
  ColourTally t;
  const QRect a = area.intersected(image.rect());
  const auto near = [](int x, int y) { return std::abs(x - y) <= 3; };
  for (int y = a.top(); y <= a.bottom(); ++y) {
    for (int x = a.left(); x <= a.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int r = c.red(), g = c.green(), b = c.blue();
      // The background, and anti-aliasing too faint to tell its hue.
      if (std::min({r, g, b}) >= 235) continue;
      if (near(r, g) && near(g, b))
        ++t.black;
      else if (near(r, b) && g < r)
        ++t.magenta;
      else if (near(r, b) && g > r)
        ++t.green;
      else if (near(r, g) && b > r)
        ++t.blue;
      else if (near(g, b) && r > g)
        ++t.red;
      else
        ++t.other;
    }
  }
  return t;
}

}  // namespace kelvo::gui::test
