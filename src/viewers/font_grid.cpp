#include "viewers/font_grid.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace kelvo {

namespace {

int GlyphWidth(const CFontDoc& doc, int rowLength) {
  if (doc.Orientation() == 'J') return 16 * ((rowLength + 1) / 2);
  return rowLength * 8;
}

// Source column of an inverse landscape glyph.
int InverseLandscapeColumn(const CFontDoc& doc, int rowLength, int wb, int off, int sp) {
  const int odd = (rowLength % 2 != 0) ? 8 : 0;
  if (doc.Pitch() == 'F') {
    const int room = sp - (wb - off);
    if (room <= 0) return off;
    if (odd == 0 && rowLength != 2) return off;
    return odd;
  }
  return (sp > rowLength * 8 ? 0 : off) + off / 2 + odd;
}

}  // namespace

CMonoBitmap UnpackGlyph(const CFontDoc& doc, int code) {
  const FstEntry e = doc.Entry(code);
  const int rows = e.RowCount();
  const int length = e.RowLength();
  CMonoBitmap glyph(GlyphWidth(doc, length), rows);
  if (glyph.Empty()) return glyph;
  const std::vector<std::uint8_t>& matrix = doc.Matrix();
  std::size_t at = e.ByteOffset();
  for (int r = 0; r < rows; ++r, at += static_cast<std::size_t>(length)) {
    std::uint8_t* out = glyph.Row(r);
    // Bytes past the end of the matrix read as 0.
    const std::size_t present =
        at < matrix.size() ? std::min(static_cast<std::size_t>(length), matrix.size() - at) : 0;
    for (std::size_t i = 0; i < present; ++i) out[i] = static_cast<std::uint8_t>(~matrix[at + i]);
    std::fill(out + present, out + length, std::uint8_t{0xFF});
  }
  return glyph;
}

CMonoBitmap TurnUpright(const CMonoBitmap& glyph, char orientation) {
  switch (orientation) {
    case 'P': return QuarterTurnCcw(glyph);
    case 'J': return HalfTurn(glyph);
    case 'I': return QuarterTurnCcw(HalfTurn(glyph));
    default: return glyph;
  }
}

namespace {

// A glyph unpacked and turned upright, ready to be placed many times.
struct UprightGlyph {
  int code = 0;
  CMonoBitmap turned;
};

UprightGlyph PrepareGlyph(const CFontDoc& doc, int code) {
  const CMonoBitmap glyph = UnpackGlyph(doc, code);
  if (glyph.Empty()) return {code, {}};
  return {code, TurnUpright(glyph, doc.Orientation())};
}

void PlaceGlyph(CMonoBitmap& dst, const CFontDoc& doc, const UprightGlyph& g, int x, int y) {
  if (g.turned.Empty()) return;
  const FstEntry e = doc.Entry(g.code);
  const int rows = e.RowCount();
  const int length = e.RowLength();
  const int wb = GlyphWidth(doc, length);
  const int off = e.Offset();
  const CMonoBitmap& turned = g.turned;
  const int bw = turned.Width();
  const int bh = turned.Height();
  switch (doc.Orientation()) {
    case 'P':
      AndBlit(dst, x, y + doc.LineSpacing() - wb - off, turned, 0, bh - wb, rows, wb);
      break;
    case 'I':
      AndBlit(dst, x, y + off, turned, 0, 0, std::max(rows, 8), wb);
      break;
    case 'J': {
      const int ref = doc.InverseLandscapeHeight();
      const int dy = rows < ref ? ref - rows : 0;
      const int sx = InverseLandscapeColumn(doc, length, wb, off, doc.Spacing(g.code));
      AndBlit(dst, x, y + dy, turned, sx, 0, bw, bh);
      break;
    }
    default:
      AndBlit(dst, x, y, turned, 0, 0, bw, bh);
      break;
  }
}

}  // namespace

void DrawGlyph(CMonoBitmap& dst, const CFontDoc& doc, int code, int x, int y) {
  PlaceGlyph(dst, doc, PrepareGlyph(doc, code), x, y);
}

ScrollSize FontGridScrollSize(const CFontDoc& doc) {
  const int highest = doc.HighestCode();
  int widest = 0;
  for (int start = 0; start <= highest; start += 16) {
    int sum = 0;
    for (int code = start; code < start + 16 && code <= highest; ++code) sum += doc.Spacing(code);
    widest = std::max(widest, sum);
  }
  const int rows = std::min(16, (highest + 1) / 16 + 1);
  return ScrollSize{widest + 30, doc.CellHeight() * rows};
}

FontGridPicture PaintFontGrid(const CFontDoc& doc) {
  FontGridPicture picture;
  picture.size = FontGridScrollSize(doc);
  const int cell = doc.CellHeight();
  if (cell <= 0) {
    picture.note = "The font's cell height is 0: no glyph rows to draw";
    return picture;
  }
  const std::uint64_t bytes = (std::uint64_t(picture.size.width) + 31) / 32 * 4 *
                              std::uint64_t(picture.size.height);
  if (bytes > kMaxFontGridBytes) {
    picture.note = "The font's cells are too large to draw (" + std::to_string(cell) +
                   " dots high): no glyph rows drawn";
    return picture;
  }
  picture.bitmap = CMonoBitmap(picture.size.width, picture.size.height);
  const int right = picture.size.width;
  const int lastRow = std::min(15, (picture.size.height + cell - 1) / cell);
  const int spaceSpacing = doc.Spacing(32);
  // The space fills the rest of every row, maybe thousands of times: it is
  // unpacked and turned once.
  const UprightGlyph space = PrepareGlyph(doc, 32);
  int y = 0;
  for (int row = 0; row <= lastRow; ++row, y += cell) {
    int x = 10;
    for (int col = 0; col < 16; ++col) {
      const int code = 16 * row + col + 32;
      if (code > doc.HighestCode()) return picture;
      if (doc.Entry(code).NoGlyph() && code != 32) continue;
      const int sp = doc.Spacing(code);
      picture.cells.push_back(GlyphCell{code, x, y, sp, sp != 0});
      if (sp != 0) DrawGlyph(picture.bitmap, doc, code, x, y);
      x += sp;
    }
    // The rest of the row is filled with spaces; a space of spacing 0 would
    // never get there, so it ends the row instead.
    while (x < right && spaceSpacing > 0) {
      PlaceGlyph(picture.bitmap, doc, space, x, y);
      x += spaceSpacing;
    }
  }
  return picture;
}

}  // namespace kelvo
