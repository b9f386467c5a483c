// A damaged header claiming enormous cells gives no glyph grid (and a note
// saying why) instead of a picture of gigabytes; ordinary big fonts draw.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "support/viewer_font_builder.h"
#include "viewers/font_grid.h"

namespace kelvo::test {
namespace {

FontGridPicture PaintWithCell(int baseline_to_top, int baseline_to_bottom) {
  FontSpec spec = DefaultFontSpec(255);  // the widest rows a font can have
  spec.highest_code = 255;
  spec.baseline_to_top = baseline_to_top;
  spec.baseline_to_bottom = baseline_to_bottom;
  spec.glyphs.push_back(SolidGlyph(65, 4, 1));
  TempDir dir;
  WriteFileBytes(dir / "G.fnt", BuildFont(spec));
  CFontDoc doc;
  EXPECT_TRUE(doc.Load((dir / "G.fnt").string())) << doc.Message().text;
  return PaintFontGrid(doc);
}

TEST(FontGridLimit, HugeCellsAreNotDrawn) {
  FontGridPicture p = PaintWithCell(56840, 3);
  EXPECT_TRUE(p.bitmap.Empty());
  EXPECT_TRUE(p.cells.empty());
  EXPECT_EQ(p.note, "The font's cells are too large to draw (56843 dots high): no glyph rows drawn");
  // The scroll size is still reported as the header gives it.
  EXPECT_EQ(p.size.height, 56843 * 16);
}

TEST(FontGridLimit, LargeRealFontIsDrawn) {
  // A 1000-dot cell: 16 rows of 4110 dots, about 8 MB.
  FontGridPicture p = PaintWithCell(800, 200);
  EXPECT_TRUE(p.note.empty()) << p.note;
  EXPECT_EQ(p.bitmap.Height(), 16000);
  EXPECT_FALSE(p.cells.empty());
}

}  // namespace
}  // namespace kelvo::test
