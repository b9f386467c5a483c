#include "demo_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <vector>

#include "support/viewer_font_builder.h"

namespace kelvo::demo {

namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 126;
constexpr int kDpi = 300;

// One character as FreeType drew it: a 1-bit bitmap placed against the
// baseline and the pen position.
struct RenderedGlyph {
  int code = 0;
  int left = 0;     // pen to first column, dots
  int top = 0;      // baseline to first row, dots (up is positive)
  int width = 0;
  int rows = 0;
  int advance = 0;  // dots
  std::vector<std::uint8_t> ink;  // width x rows, 1 = ink
};

// The glyph in its cell, upright: `width` columns by `height` rows, the
// baseline at row `baseline`.
struct CellGlyph {
  int width = 1;
  int height = 0;
  std::vector<std::uint8_t> ink;
  bool At(int x, int y) const { return ink[static_cast<std::size_t>(y * width + x)] != 0; }
};

class CFreeTypeFace {
 public:
  ~CFreeTypeFace() {
    if (face_ != nullptr) FT_Done_Face(face_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  bool Open(const std::string& path, int points, std::string& error) {
    if (FT_Init_FreeType(&library_) != 0) {
      error = "cannot start FreeType";
      return false;
    }
    if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0) {
      error = "cannot load the font " + path;
      return false;
    }
    if (FT_Set_Char_Size(face_, 0, points * 64, kDpi, kDpi) != 0) {
      error = "cannot size the font " + path;
      return false;
    }
    return true;
  }
  bool Render(int code, RenderedGlyph& g) {
    if (FT_Load_Char(face_, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
      return false;
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO && bm.rows != 0) return false;
    g.code = code;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.rows = static_cast<int>(bm.rows);
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.ink.assign(static_cast<std::size_t>(g.width * g.rows), 0);
    for (int y = 0; y < g.rows; ++y) {
      const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
      for (int x = 0; x < g.width; ++x)
        g.ink[static_cast<std::size_t>(y * g.width + x)] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
    return true;
  }

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};

// Places a rendered glyph in a cell `above` rows above the baseline and
// `below` rows below it. Ink left of the pen position moves right to
// column 0.
CellGlyph PlaceInCell(const RenderedGlyph& g, int above, int below) {
  CellGlyph c;
  const int x0 = std::max(0, g.left);
  c.width = std::max(1, x0 + g.width);
  c.height = above + below;
  c.ink.assign(static_cast<std::size_t>(c.width * c.height), 0);
  for (int y = 0; y < g.rows; ++y) {
    const int cy = above - g.top + y;
    for (int x = 0; x < g.width; ++x)
      if (g.ink[static_cast<std::size_t>(y * g.width + x)] != 0)
        c.ink[static_cast<std::size_t>(cy * c.width + x0 + x)] = 1;
  }
  return c;
}

void SetBit(std::vector<std::uint8_t>& bytes, int rowLength, int row, int col) {
  bytes[static_cast<std::size_t>(row * rowLength + col / 8)] |= static_cast<std::uint8_t>(0x80 >> (col % 8));
}

// Landscape: stored as seen, one row per cell row.
test::FontGlyphSpec LandscapeGlyph(int code, const CellGlyph& c) {
  test::FontGlyphSpec s;
  s.code = code;
  s.rows = c.height;
  s.row_length = (c.width + 7) / 8;
  s.bytes.assign(static_cast<std::size_t>(s.rows * s.row_length), 0);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if (c.At(x, y)) SetBit(s.bytes, s.row_length, y, x);
  return s;
}

// Portrait: the printer's paper runs the other way, so each stored row is
// one column of the upright glyph, its first dot the bottom of the cell.
// The view turns it a quarter turn back; the placement offset lowers the
// cell's bottom to the line spacing.
test::FontGlyphSpec PortraitGlyph(int code, const CellGlyph& c, int lineSpacing) {
  test::FontGlyphSpec s;
  s.code = code;
  s.rows = c.width;
  s.row_length = (c.height + 7) / 8;
  s.offset = lineSpacing - c.height;
  s.bytes.assign(static_cast<std::size_t>(s.rows * s.row_length), 0);
  for (int x = 0; x < c.width; ++x)
    for (int y = 0; y < c.height; ++y)
      if (c.At(x, y)) SetBit(s.bytes, s.row_length, x, c.height - 1 - y);
  return s;
}

}  // namespace

bool RasteriseDemoFont(const std::string& fontPath, int points, int lineSpacing,
                       DemoFontFiles& out, std::string& error) {
  CFreeTypeFace face;
  if (!face.Open(fontPath, points, error)) return false;
  std::vector<RenderedGlyph> glyphs;
  int above = 0;
  int below = 0;
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    RenderedGlyph g;
    if (!face.Render(code, g)) {
      error = "cannot render character " + std::to_string(code) + " of " + fontPath;
      return false;
    }
    above = std::max(above, g.top);
    below = std::max(below, g.rows - g.top);
    glyphs.push_back(std::move(g));
  }
  if (above + below > lineSpacing || lineSpacing - (above + below) > 255) {
    error = "the glyphs (" + std::to_string(above + below) + " dots high) do not fit a line spacing of " +
            std::to_string(lineSpacing) + " dots";
    return false;
  }

  test::FontSpec spec;
  spec.pitch = 'P';
  spec.line_spacing = lineSpacing;
  spec.baseline_to_top = above;
  spec.baseline_to_bottom = below;
  spec.highest_code = kLastCode;
  spec.spacing.fill(0);
  int total = 0;
  for (const RenderedGlyph& g : glyphs) {
    spec.spacing[static_cast<std::size_t>(g.code)] = static_cast<std::uint8_t>(std::clamp(g.advance, 1, 254));
    total += g.advance;
  }
  // Code 0 carries the space's width: a zero there would mark another kind of font.
  spec.spacing[0] = spec.spacing[kFirstCode];
  spec.average_spacing = (total + static_cast<int>(glyphs.size()) / 2) / static_cast<int>(glyphs.size());

  test::FontSpec landscape = spec;
  landscape.orientation = 'L';
  test::FontSpec portrait = spec;
  portrait.orientation = 'P';
  for (const RenderedGlyph& g : glyphs) {
    const CellGlyph cell = PlaceInCell(g, above, below);
    landscape.glyphs.push_back(LandscapeGlyph(g.code, cell));
    portrait.glyphs.push_back(PortraitGlyph(g.code, cell, lineSpacing));
  }
  out.landscape = test::BuildFont(landscape);
  out.portrait = test::BuildFont(portrait);
  return true;
}

}  // namespace kelvo::demo
