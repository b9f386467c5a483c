// The glyph view of a font as a picture: glyphs unpacked from the matrix,
// turned upright by the font's orientation, placed in rows of 16 codes from
// the space character on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "viewers/font_doc.h"
#include "viewers/mono_bitmap.h"

namespace kelvo {

// The glyph of `code` as stored: row length x 8 dots wide (whole 16-bit
// words for inverse landscape fonts), row count high, ink as 0 bits. Bytes
// past the end of the matrix read as blank, so a damaged entry never reads
// out of bounds; a glyph of any size is unpacked.
CMonoBitmap UnpackGlyph(const CFontDoc& doc, int code);

// Turns an unpacked glyph upright: 'L' as stored, 'P' one quarter turn
// counter-clockwise, 'J' a half turn, 'I' a half turn then a quarter turn.
CMonoBitmap TurnUpright(const CMonoBitmap& glyph, char orientation);

// Draws the glyph of `code` onto `dst` at (x, y) with "source AND
// destination", placed by the font's orientation.
void DrawGlyph(CMonoBitmap& dst, const CFontDoc& doc, int code, int x, int y);

struct ScrollSize {
  int width = 0;
  int height = 0;
};

// The glyph view's scroll size: the widest row of 16 codes (from code 0)
// plus 30, by the cell height times the number of rows (at most 16).
ScrollSize FontGridScrollSize(const CFontDoc& doc);

// One code visited while painting the grid.
struct GlyphCell {
  int code = 0;
  int x = 0;  // left edge of its cell
  int y = 0;  // top of its row
  int spacing = 0;
  bool drawn = false;  // false: no glyph, or spacing 0
};

struct FontGridPicture {
  CMonoBitmap bitmap;  // the whole scroll area, background where nothing is drawn
  ScrollSize size;
  std::vector<GlyphCell> cells;  // the codes of the grid, row by row
  std::string note;              // why nothing could be drawn, when so
};

// The largest glyph grid picture painted. A damaged header can claim cells
// tens of thousands of dots high (a real font's are at most a few hundred);
// such a grid would take gigabytes, so it is not drawn.
inline constexpr std::uint64_t kMaxFontGridBytes = std::uint64_t{16} << 20;

// Paints the whole glyph grid. A font whose cell height is not positive, or
// whose picture would exceed kMaxFontGridBytes, has no rows: the picture is
// empty and `note` says why.
FontGridPicture PaintFontGrid(const CFontDoc& doc);

}  // namespace kelvo
