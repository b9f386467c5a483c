#include <gtest/gtest.h>

#include "support/test_support.h"
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

struct Box {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1, count = 0;
};

Box InkBox(const CMonoBitmap& b) {
  Box box;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.IsInk(x, y)) {
        box.x0 = std::min(box.x0, x);
        box.y0 = std::min(box.y0, y);
        box.x1 = std::max(box.x1, x);
        box.y1 = std::max(box.y1, y);
        ++box.count;
      }
  return box;
}

std::vector<int> Codes(const FontGridPicture& p) {
  std::vector<int> codes;
  for (const GlyphCell& c : p.cells) codes.push_back(c.code);
  return codes;
}

TEST_F(FontGridTest, HighestCode40ShowsOneRowOfNine) {
  FontSpec spec = DefaultFontSpec(10);
  spec.highestCode = 40;
  FontGridPicture p = PaintFontGrid(Load(spec));
  EXPECT_EQ(Codes(p), (std::vector<int>{32, 33, 34, 35, 36, 37, 38, 39, 40}));
  EXPECT_EQ(p.cells[0].x, 10);
  EXPECT_EQ(p.cells[8].x, 90);
  // Scroll size: widest row of 16 codes from code 0 plus 30; three rows of 40 dots.
  EXPECT_EQ(p.size.width, 16 * 10 + 30);
  EXPECT_EQ(p.size.height, 40 * 3);
  EXPECT_EQ(p.bitmap.Width(), p.size.width);
}

TEST_F(FontGridTest, NoGlyphAndZeroSpacingTakeNoRoom) {
  FontSpec spec = DefaultFontSpec(10);
  spec.highestCode = 47;
  spec.spacing[35] = 0;
  FontGlyphSpec flagged = SolidGlyph(33, 2, 1);
  flagged.noGlyph = true;
  FontGlyphSpec space = SolidGlyph(32, 2, 1);
  space.noGlyph = true;
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
  Box box = InkBox(p.bitmap);
  EXPECT_EQ(box.x0, 10);
  EXPECT_EQ(box.y0, 0);
  EXPECT_EQ(box.y1, 1);
}

TEST_F(FontGridTest, RowIsFilledWithSpacesToTheRightEdge) {
  FontSpec spec = DefaultFontSpec(10);
  spec.highestCode = 127;
  spec.glyphs = {SolidGlyph(32, 1, 1)};
  FontGridPicture p = PaintFontGrid(Load(spec));
  // Row 0 holds codes 32..47 (all blank but the space) then spaces to the edge.
  int last = -1;
  for (int x = 0; x < p.bitmap.Width(); ++x)
    if (p.bitmap.IsInk(x, 0)) last = x;
  EXPECT_GE(last, p.size.width - 10);
}

TEST_F(FontGridTest, SpaceOfSpacingZeroEndsTheRow) {
  FontSpec spec = DefaultFontSpec(10);
  spec.spacing[32] = 0;
  spec.highestCode = 60;
  FontGridPicture p = PaintFontGrid(Load(spec));
  EXPECT_EQ(p.cells.front().code, 32);
  EXPECT_FALSE(p.cells.front().drawn);
}

TEST_F(FontGridTest, CellHeightZeroGivesAnEmptyPictureWithANote) {
  FontSpec spec = DefaultFontSpec(10);
  spec.baselineToBottom = 0;
  spec.baselineToTop = 0;
  FontGridPicture p = PaintFontGrid(Load(spec));
  EXPECT_TRUE(p.bitmap.Empty());
  EXPECT_FALSE(p.note.empty());
}

TEST_F(FontGridTest, LandscapeGlyphIsDrawnAsStored) {
  FontSpec spec = DefaultFontSpec(20);
  spec.highestCode = 32;
  FontGlyphSpec g;
  g.code = 32;
  g.rows = 3;
  g.rowLength = 1;
  g.bytes = {0x80, 0x00, 0x01};
  spec.glyphs = {g};
  spec.spacing[32] = 200;  // one glyph in the row
  const CFontDoc& doc = Load(spec);
  CMonoBitmap dst(64, 64);
  DrawGlyph(dst, doc, 32, 5, 7);
  EXPECT_TRUE(dst.IsInk(5, 7));
  EXPECT_TRUE(dst.IsInk(12, 9));
  EXPECT_EQ(InkBox(dst).count, 2);
}

TEST_F(FontGridTest, PortraitGlyphIsTurnedAndPlacedFromTheLineSpacing) {
  FontSpec spec = DefaultFontSpec(20);
  spec.orientation = 'P';
  spec.lineSpacing = 40;
  spec.highestCode = 32;
  FontGlyphSpec g;
  g.code = 32;
  g.rows = 3;
  g.rowLength = 1;  // wb = 8, padded to 16
  g.offset = 2;
  g.bytes = {0x80, 0x00, 0x01};  // first row's leftmost dot, last row's rightmost dot
  spec.glyphs = {g};
  const CFontDoc& doc = Load(spec);
  CMonoBitmap dst(64, 64);
  DrawGlyph(dst, doc, 32, 0, 0);
  // dy = line spacing - wb - off = 40 - 8 - 2 = 30; the copy is R wide, wb high.
  // Stored column 0 becomes the bottom row; stored row j becomes column j.
  EXPECT_TRUE(dst.IsInk(0, 30 + 7));
  EXPECT_TRUE(dst.IsInk(2, 30 + 0));
  EXPECT_EQ(InkBox(dst).count, 2);
}

TEST_F(FontGridTest, InverseLandscapeGlyphIsTurnedAHalfTurn) {
  FontSpec spec = DefaultFontSpec(20);
  spec.orientation = 'J';
  spec.pitch = 'P';
  spec.inverseLandscapeHeight = 10;
  spec.highestCode = 32;
  FontGlyphSpec g;
  g.code = 32;
  g.rows = 2;
  g.rowLength = 1;
  g.bytes = {0x80, 0x00};  // top left dot
  spec.glyphs = {g};
  spec.spacing[32] = 4;  // not more than 8: sx = off + off/2 + 8 = 8
  const CFontDoc& doc = Load(spec);
  CMonoBitmap dst(64, 64);
  DrawGlyph(dst, doc, 32, 0, 0);
  // Half turn of a 16-dot padded row: the dot goes to (15, 1); read from
  // column 8 it lands at x 7; dy = 10 - 2 = 8.
  EXPECT_TRUE(dst.IsInk(7, 9));
  EXPECT_EQ(InkBox(dst).count, 1);
}

TEST_F(FontGridTest, InversePortraitGlyphIsTurnedThreeQuarters) {
  FontSpec spec = DefaultFontSpec(20);
  spec.orientation = 'I';
  spec.highestCode = 32;
  FontGlyphSpec g;
  g.code = 32;
  g.rows = 2;
  g.rowLength = 2;
  g.offset = 3;
  g.bytes = {0x80, 0x00, 0x00, 0x00};  // top left dot
  spec.glyphs = {g};
  const CFontDoc& doc = Load(spec);
  CMonoBitmap dst(64, 64);
  DrawGlyph(dst, doc, 32, 0, 0);
  // Half turn: (15, 1). Quarter turn: row 15 - 15 = 0, column 1. dy = off.
  EXPECT_TRUE(dst.IsInk(1, 3));
  EXPECT_EQ(InkBox(dst).count, 1);
}

TEST_F(FontGridTest, GlyphLargerThanTheOldWorkBufferIsDrawnWhole) {
  FontSpec spec = DefaultFontSpec(255);
  spec.highestCode = 32;
  spec.glyphs = {SolidGlyph(32, 255, 127)};  // 32385 bytes
  const CFontDoc& doc = Load(spec);
  CMonoBitmap glyph = UnpackGlyph(doc, 32);
  EXPECT_EQ(glyph.Width(), 127 * 8);
  EXPECT_EQ(glyph.Height(), 255);
  CMonoBitmap dst(1100, 300);
  DrawGlyph(dst, doc, 32, 0, 0);
  EXPECT_EQ(InkBox(dst).count, 255 * 127 * 8);
}

TEST_F(FontGridTest, GlyphReachingPastTheMatrixReadsBlankBeyondIt) {
  FontSpec spec = DefaultFontSpec(20);
  spec.highestCode = 33;
  spec.glyphs = {SolidGlyph(32, 4, 2)};  // 8 bytes of ink
  FontGlyphSpec far;
  far.code = 33;
  far.rows = 200;
  far.rowLength = 100;
  spec.glyphs.push_back(far);
  spec.matrixSizeField = 6;  // the matrix ends inside the space glyph
  const CFontDoc& doc = Load(spec);
  CMonoBitmap glyph = UnpackGlyph(doc, 32);
  EXPECT_EQ(InkBox(glyph).count, 6 * 8);
  CMonoBitmap dst(200, 300);
  DrawGlyph(dst, doc, 33, 0, 0);  // wholly past the end
  EXPECT_EQ(InkBox(dst).count, 0);
  FontGridPicture p = PaintFontGrid(doc);
  EXPECT_EQ(Codes(p), (std::vector<int>{32, 33}));
}

}  // namespace
}  // namespace kelvo::test
