#include <gtest/gtest.h>

#include "support/test_support.h"
#include "support/viewer_bitmap_probe.h"
#include "support/viewer_font_builder.h"
#include "viewers/font_grid.h"

namespace kelvo::test {
namespace {

class FontGridTest : public ::testing::Test {
 protected:
  const CFontDoc& Load(const FontSpec& spec) {
    WriteFileBytes(dir_ / "G.fnt", BuildFont(spec));
    doc_ = std::make_unique<CFontDoc>();
    EXPECT_TRUE(doc_->Load((dir_ / "G.fnt").string())) << doc_->Message().text;
    return *doc_;
  }
  TempDir dir_;
  std::unique_ptr<CFontDoc> doc_;
};

std::vector<int> Codes(const FontGridPicture& p) {
  std::vector<int> codes;
  for (const GlyphCell& c : p.cells) codes.push_back(c.code);
  return codes;
}

TEST_F(FontGridTest, HighestCode40ShowsOneRowOfNine) {
  FontSpec spec = DefaultFontSpec(10);
  spec.highest_code = 40;
  FontGridPicture p = PaintFontGrid(Load(spec));
  EXPECT_EQ(Codes(p), (std::vector<int>{32, 33, 34, 35, 36, 37, 38, 39, 40}));
  EXPECT_EQ(std::pair(p.cells[0].x, p.cells[8].x), std::pair(10, 90));
  // Scroll size: widest row of 16 codes from code 0 plus 30; three rows of 40 dots.
  EXPECT_EQ(p.size.width, 16 * 10 + 30);
  EXPECT_EQ(p.size.height, 40 * 3);
  EXPECT_EQ(p.bitmap.Width(), p.size.width);
}

TEST_F(FontGridTest, NoGlyphAndZeroSpacingTakeNoRoom) {
  FontSpec spec = DefaultFontSpec(10);
  spec.highest_code = 47;
  spec.spacing[35] = 0;
  FontGlyphSpec flagged = SolidGlyph(33, 2, 1);
  flagged.no_glyph = true;
  FontGlyphSpec space = SolidGlyph(32, 2, 1);
  space.no_glyph = true;
  spec.glyphs = {space, flagged, SolidGlyph(35, 2, 1)};
  FontGridPicture p = PaintFontGrid(Load(spec));
  std::vector<int> codes = Codes(p);
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes[0], 32);  // the space is drawn even when flagged
  EXPECT_EQ(codes[1], 34);  // 33 is passed over
  EXPECT_EQ(p.cells[1].x, 20);
  EXPECT_FALSE(p.cells[2].drawn);  // 35 has spacing 0
  EXPECT_EQ(p.cells[3].x, 30);     // and takes no room
  // Only the space glyph carries ink: at x 10 and in the row's fill.
  InkBox box = FindInk(p.bitmap);
  EXPECT_EQ(box.x0, 10);
  EXPECT_EQ(box.y0, 0);
  EXPECT_EQ(box.y1, 1);
}

TEST_F(FontGridTest, RowIsFilledWithSpacesToTheRightEdge) {
  FontSpec spec = DefaultFontSpec(10);
  spec.highest_code = 127;
  spec.glyphs = {SolidGlyph(32, 1, 1)};
  FontGridPicture p = PaintFontGrid(Load(spec));
  // Each row holds 16 codes (all blank but the space) then spaces to the edge.
  EXPECT_GE(FindInk(p.bitmap).x1, p.size.width - 10);
}

TEST_F(FontGridTest, SpaceOfSpacingZeroEndsTheRow) {
  FontSpec spec = DefaultFontSpec(10);
  spec.spacing[32] = 0;
  spec.highest_code = 60;
  FontGridPicture p = PaintFontGrid(Load(spec));
  EXPECT_EQ(p.cells.front().code, 32);
  EXPECT_FALSE(p.cells.front().drawn);
}

// A cell of no height, or a damaged header claiming enormous cells, gives no
// glyph grid (and a note saying why) instead of a picture of gigabytes;
// ordinary big fonts draw.
TEST_F(FontGridTest, CellsOfNoOrHugeHeightAreNotDrawn) {
  FontSpec spec = DefaultFontSpec(255);  // the widest rows a font can have
  spec.highest_code = 255;
  spec.glyphs.push_back(SolidGlyph(65, 4, 1));
  spec.baseline_to_bottom = spec.baseline_to_top = 0;
  FontGridPicture p = PaintFontGrid(Load(spec));
  EXPECT_TRUE(p.bitmap.Empty());
  EXPECT_FALSE(p.note.empty());
  spec.baseline_to_top = 56840;
  spec.baseline_to_bottom = 3;
  p = PaintFontGrid(Load(spec));
  EXPECT_TRUE(p.bitmap.Empty());
  EXPECT_TRUE(p.cells.empty());
  EXPECT_EQ(p.note, "The font's cells are too large to draw (56843 dots high): no glyph rows drawn");
  EXPECT_EQ(p.size.height, 56843 * 16);  // the scroll size as the header gives it
  // A 1000-dot cell: 16 rows of 4110 dots, about 8 MB.
  spec.baseline_to_top = 800;
  spec.baseline_to_bottom = 200;
  p = PaintFontGrid(Load(spec));
  EXPECT_TRUE(p.note.empty()) << p.note;
  EXPECT_EQ(p.bitmap.Height(), 16000);
  EXPECT_FALSE(p.cells.empty());
}

// One glyph drawn at (0, 0) and the ink dots expected in the view.
struct PlacementCase {
  const char* what;
  char orientation;
  char pitch;
  int rows, row_length, offset, spacing, reference, line_spacing;
  std::vector<std::uint8_t> bytes;
  std::vector<std::pair<int, int>> ink;
};

TEST_F(FontGridTest, GlyphsAreTurnedUprightAndPlacedByOrientation) {
  const PlacementCase cases[] = {
      {"L: as stored", 'L', 'P', 3, 1, 0, 20, 0, 50, {0x80, 0x00, 0x01}, {{0, 0}, {7, 2}}},
      // dy = line spacing - wb - off = 40 - 8 - 2 = 30; copy R wide, wb high;
      // stored column 0 becomes the bottom row, stored row j column j.
      {"P: quarter turn", 'P', 'P', 3, 1, 2, 20, 0, 40, {0x80, 0x00, 0x01}, {{0, 37}, {2, 30}}},
      // Half turn of a 16-dot row puts the dot at (15, 1); proportional with
      // spacing not above 8: sx = off + off / 2 + 8 = 8; dy = 10 - 2.
      {"J: proportional", 'J', 'P', 2, 1, 0, 4, 10, 50, {0x80, 0x00}, {{7, 9}}},
      // Fixed pitch, odd row length, room left: sx = 8.
      {"J: fixed, odd", 'J', 'F', 2, 1, 0, 20, 10, 50, {0x80, 0x00}, {{7, 9}}},
      // Fixed pitch, row length 2: sx stays 0.
      {"J: fixed, two bytes", 'J', 'F', 2, 2, 3, 40, 0, 50, {0x80, 0, 0, 0}, {{15, 1}}},
      // Fixed pitch, row length 4: sx = off.
      {"J: fixed, four bytes", 'J', 'F', 1, 4, 5, 60, 0, 50, {0x80, 0, 0, 0}, {{31 - 5, 0}}},
      // No room (spacing <= wb - off): sx = off.
      {"J: fixed, no room", 'J', 'F', 1, 1, 2, 10, 0, 50, {0x80}, {{15 - 2, 0}}},
      // Half turn then quarter turn: (15, 1), then row 0, column 1; dy = off.
      {"I: three quarters", 'I', 'P', 2, 2, 3, 20, 0, 50, {0x80, 0, 0, 0}, {{1, 3}}},
  };
  for (const PlacementCase& c : cases) {
    FontSpec spec = DefaultFontSpec(c.spacing);
    spec.orientation = c.orientation;
    spec.pitch = c.pitch;
    spec.inverse_landscape_height = c.reference;
    spec.line_spacing = c.line_spacing;
    spec.highest_code = 32;
    spec.glyphs = {FontGlyphSpec{32, c.rows, c.row_length, c.bytes, c.offset}};
    const CFontDoc& doc = Load(spec);
    CMonoBitmap dst(64, 64);
    DrawGlyph(dst, doc, 32, 0, 0);
    for (const auto& [x, y] : c.ink) EXPECT_TRUE(dst.IsInk(x, y)) << c.what << " " << x << "," << y;
    EXPECT_EQ(CountInk(dst), static_cast<int>(c.ink.size())) << c.what;
  }
}

TEST_F(FontGridTest, GlyphLargerThanTheOldWorkBufferIsDrawnWhole) {
  FontSpec spec = DefaultFontSpec(255);
  spec.highest_code = 32;
  spec.glyphs = {SolidGlyph(32, 255, 127)};  // 32385 bytes
  const CFontDoc& doc = Load(spec);
  CMonoBitmap glyph = UnpackGlyph(doc, 32);
  EXPECT_EQ(glyph.Width(), 127 * 8);
  EXPECT_EQ(glyph.Height(), 255);
  CMonoBitmap dst(1100, 300);
  DrawGlyph(dst, doc, 32, 0, 0);
  EXPECT_EQ(CountInk(dst), 255 * 127 * 8);
}

TEST_F(FontGridTest, GlyphReachingPastTheMatrixReadsBlankBeyondIt) {
  FontSpec spec = DefaultFontSpec(20);
  spec.highest_code = 33;
  spec.glyphs = {SolidGlyph(32, 4, 2)};  // 8 bytes of ink
  spec.glyphs.push_back(FontGlyphSpec{33, 200, 100, {}});
  spec.matrix_size_field = 6;  // the matrix ends inside the space glyph
  const CFontDoc& doc = Load(spec);
  CMonoBitmap glyph = UnpackGlyph(doc, 32);
  EXPECT_EQ(CountInk(glyph), 6 * 8);
  CMonoBitmap dst(200, 300);
  DrawGlyph(dst, doc, 33, 0, 0);  // wholly past the end
  EXPECT_EQ(CountInk(dst), 0);
  FontGridPicture p = PaintFontGrid(doc);
  EXPECT_EQ(Codes(p), (std::vector<int>{32, 33}));
}

}  // namespace
}  // namespace kelvo::test
