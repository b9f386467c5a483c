#include <gtest/gtest.h>

#include <random>

#include "support/viewer_bitmap_probe.h"
#include "support/viewer_image_builder.h"
#include "viewers/image_view_model.h"

namespace kelvo::test {
namespace {

// An image of `dots` x `lines` with the given ink lines (1 = ink bytes).
CImgDoc MakeDoc(int dots, const ImageLines& lines) {
  const ImageFileSpec spec{.scan_lines = static_cast<int>(lines.size()), .dots = dots,
                           .raster = EncodeImageLines(lines, RoundedImageDots(dots))};
  CImgDoc doc;
  EXPECT_TRUE(doc.LoadBytes(BuildImageFile(spec))) << doc.Message().text;
  return doc;
}

ImageLines Blank(int dots, int lines) {
  return ImageLines(static_cast<std::size_t>(lines),
      std::vector<std::uint8_t>(static_cast<std::size_t>(RoundedImageDots(dots) / 8), 0));
}

TEST(ImageViewModel, FullBitmapUsesTheDecodedRows) {
  auto lines = Blank(20, 2);  // 20 dots: decoded rows of 2 bytes, bitmap rows of 4
  lines[1][1] = 0x01;
  CImgDoc doc = MakeDoc(20, lines);
  CMonoBitmap full = MakeFullBitmap(doc);
  EXPECT_EQ(full.Width(), 20);
  EXPECT_EQ(full.Height(), 2);
  EXPECT_TRUE(full.IsInk(15, 1));
  EXPECT_EQ(CountInk(full), 1);
}

TEST(ImageViewModel, NewImageIsTurnedOnceAndRoundedTo16) {
  auto lines = Blank(1000, 40);
  lines[0][0] = 0x80;  // top left dot
  CImgDoc doc = MakeDoc(1000, lines);
  CImgViewModel view(doc, ImageViewOptions{});
  EXPECT_EQ(doc.Bitmap(), nullptr);  // the view released the document's raster
  EXPECT_EQ(view.Zoom(), 50);
  EXPECT_EQ(view.QuarterTurns(), 1);
  // 500 x 20 dots at 50 %: 512 x 32, then turned: 32 wide, 512 high.
  EXPECT_EQ(view.Display().Width(), 32);
  EXPECT_EQ(view.Display().Height(), 512);
  // The top left dot of the stored raster ends at the bottom left.
  EXPECT_TRUE(view.Display().IsInk(0, 511));
  EXPECT_EQ(CountInk(view.Display()), 1);
}

TEST(ImageViewModel, ZoomRunsFrom10To100AndKeepsTheTurns) {
  CImgDoc doc = MakeDoc(64, Blank(64, 32));
  CImgViewModel view(doc, ImageViewOptions{50, 5});
  int steps = 0;
  for (; view.CanZoomIn(); ++steps) view.ZoomIn();
  EXPECT_EQ(view.Zoom(), 100);
  EXPECT_EQ(steps, 10);
  while (view.CanZoomOut()) view.ZoomOut();
  EXPECT_EQ(view.Zoom(), 10);
  view.Rotate();
  view.Rotate();
  view.ZoomIn();
  EXPECT_EQ(view.QuarterTurns(), 3);
  EXPECT_EQ(view.Display().Bits(), BuildDisplayBitmap(view.Full(), 15, 3).Bits());
  // Settings that never meet 10 or 100 keep the zoom positive.
  CImgDoc other = MakeDoc(64, Blank(64, 32));
  CImgViewModel odd(other, ImageViewOptions{50, 7});
  for (int i = 0; i < 20; ++i) odd.ZoomOut();
  EXPECT_GE(odd.Zoom(), CImgViewModel::kMinZoom);
}

// Stretching random bitmaps up and down, checked dot by dot against the rule:
// a destination dot is ink when any source dot of the rectangle it covers is.
TEST(ImageViewModel, StretchMatchesTheInkWinsRuleOnRandomBitmaps) {
  std::mt19937 rng(5);
  const int sizes[][4] = {{40, 30, 16, 16}, {40, 30, 96, 64}, {13, 7, 32, 48},
                          {100, 3, 48, 16}, {9, 50, 9, 50},  {64, 64, 160, 16}};
  for (const auto& s : sizes) {
    for (int density : {1, 10, 60}) {
      CMonoBitmap src(s[0], s[1]);
      for (int y = 0; y < s[1]; ++y) {
        for (int x = 0; x < s[0]; ++x) {
          if (static_cast<int>(rng() % 100) < density) src.SetDot(x, y, true);
        }
      }
      const CMonoBitmap out = StretchInkWins(src, s[2], s[3]);
      for (int y = 0; y < s[3]; ++y) {
        const int y0 = y * s[1] / s[3];
        const int y1 = std::max((y + 1) * s[1] / s[3], y0 + 1);
        for (int x = 0; x < s[2]; ++x) {
          const int x0 = x * s[0] / s[2];
          const int x1 = std::max((x + 1) * s[0] / s[2], x0 + 1);
          bool want = false;
          for (int sy = y0; sy < y1 && !want; ++sy) {
            for (int sx = x0; sx < x1 && !want; ++sx) want = src.IsInk(sx, sy);
          }
          ASSERT_EQ(out.IsInk(x, y), want) << s[0] << "x" << s[1] << " -> " << s[2] << "x" << s[3]
                                           << " density " << density << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(ImageViewModel, EmptyImageGivesAnEmptyDisplay) {
  CImgDoc doc = MakeDoc(0, {});  // the raster is the start and end codes alone
  CImgViewModel view(doc, ImageViewOptions{});
  EXPECT_TRUE(view.Display().Empty());
  EXPECT_TRUE(view.Rotate());
}

}  // namespace
}  // namespace kelvo::test
