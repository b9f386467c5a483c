// The demo font is real lettering: made by tools/demo_media, drawn by
// kdu render, its letters have the shapes and proportions of the letters
// they stand for, in both orientations.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <map>

#include "support/test_support.h"
#include "support/viewer_bitmap_probe.h"
#include "viewers/font_doc.h"
#include "viewers/font_grid.h"

namespace kelvo {
namespace {

// A PNG as kdu render wrote it, dark dots as ink.
CMonoBitmap ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_GRAY;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  CMonoBitmap b(static_cast<int>(image.width), static_cast<int>(image.height));
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetDot(x, y, pixels[static_cast<std::size_t>(y) * image.width + x] < 128);
  return b;
}

// The glyph cell of `code` cut out of the grid picture.
CMonoBitmap Cell(const CMonoBitmap& grid, const FontGridPicture& layout, int cellHeight, int code) {
  for (const GlyphCell& c : layout.cells) {
    if (c.code != code) continue;
    CMonoBitmap cell(c.spacing, cellHeight);
    for (int y = 0; y < cellHeight; ++y)
      for (int x = 0; x < c.spacing; ++x) cell.SetDot(x, y, grid.IsInk(c.x + x, c.y + y));
    return cell;
  }
  return {};
}

class DemoFont : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    // The generator is a Qt program: under the sanitizers its leak check
    // would report what Qt and fontconfig keep until exit.
    const std::string cmd = std::string("ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" '") + KDU_DEMO_MEDIA_TOOL +
                            "' --icon '" + KDU_DEMO_ICON + "' '" + dir_->path().string() + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  }
  static void TearDownTestSuite() { delete dir_; }

  // The letters of `font` as kdu render draws them.
  static std::map<char, CMonoBitmap> Letters(const std::string& font, int& cellHeight) {
    const std::string path = (*dir_ / font).string();
    const std::string png = (*dir_ / (font + ".png")).string();
    const test::CommandResult r = test::RunKdu({"render", path, "-o", png});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    CFontDoc doc;
    EXPECT_TRUE(doc.Load(path)) << doc.Message().text;
    cellHeight = doc.CellHeight();
    const CMonoBitmap grid = ReadPng(png);
    const FontGridPicture layout = PaintFontGrid(doc);
    std::map<char, CMonoBitmap> letters;
    for (char c : std::string("HOIxgW.i")) letters[c] = Cell(grid, layout, cellHeight, c);
    return letters;
  }
  static test::TempDir* dir_;
};
test::TempDir* DemoFont::dir_ = nullptr;

TEST_F(DemoFont, LettersHaveTheirShapesInBothOrientations) {
  int height = 0;
  const std::map<char, CMonoBitmap> portrait = Letters("SANSP.FNT", height);
  const std::map<char, CMonoBitmap> landscape = Letters("SANSL.FNT", height);
  for (const auto& [c, cell] : landscape) {
    SCOPED_TRACE(std::string("letter ") + c);
    ASSERT_FALSE(cell.Empty());
    EXPECT_GT(test::CountInk(cell), 0);
    // Turned upright, the portrait font draws the same letter.
    EXPECT_TRUE(portrait.at(c).Bits() == cell.Bits());
  }
  const test::InkBox H = test::FindInk(landscape.at('H'));
  const test::InkBox x = test::FindInk(landscape.at('x'));
  const test::InkBox g = test::FindInk(landscape.at('g'));
  const test::InkBox dot = test::FindInk(landscape.at('.'));
  // 10 point capitals at 300 dpi stand about 30 dots high in a cell of about 50.
  EXPECT_GE(H.y1 - H.y0 + 1, 25);
  EXPECT_LE(H.y1 - H.y0 + 1, 35);
  EXPECT_GT(x.y0, H.y0 + 5);    // x-height below the capitals
  EXPECT_EQ(x.y1, H.y1);        // on the same baseline
  EXPECT_GT(g.y1, H.y1 + 5);    // a descender
  EXPECT_EQ(dot.y1, H.y1);
  EXPECT_LT(dot.count, H.count / 4);
  EXPECT_GT(test::FindInk(landscape.at('W')).x1, test::FindInk(landscape.at('i')).x1 + 15);
  // Distinct letters differ; the round O has no ink where H has its bar.
  EXPECT_NE(landscape.at('H').Bits(), landscape.at('I').Bits());
  const int bar = (H.y0 + H.y1) / 2;
  const int middle = (H.x0 + H.x1) / 2;
  EXPECT_TRUE(landscape.at('H').IsInk(middle, bar));
  EXPECT_FALSE(landscape.at('O').IsInk(middle, bar));
}

}  // namespace
}  // namespace kelvo
