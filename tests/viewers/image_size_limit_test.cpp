// A header claiming a bitmap beyond kMaxImageBitmapBytes is refused before
// anything is allocated; the largest allowed one still opens.
#include <gtest/gtest.h>

#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"

namespace kelvo::test {
namespace {

// An image of `lines` x `dots` whose raster ends after one blank line (an
// early end, which is accepted).
std::string EarlyEndImage(int lines, int dots) {
  RasterEncoder encoder(RoundedImageDots(dots));
  encoder.Line(std::vector<std::uint8_t>(static_cast<std::size_t>(RoundedImageDots(dots) / 8), 0), 0);
  encoder.End();
  ImageFileSpec spec;
  spec.scan_lines = lines;
  spec.dots = dots;
  spec.raster = encoder.Bytes();
  return BuildImageFile(spec);
}

TEST(ImageSizeLimit, HugeClaimedBitmapIsRefused) {
  CImgDoc doc;
  EXPECT_FALSE(doc.LoadBytes(EarlyEndImage(65535, 65520)));
  EXPECT_EQ(doc.Message().text, "Insufficient Memory to Decode Bitmap");
  EXPECT_EQ(doc.Bitmap(), nullptr);
  EXPECT_EQ(doc.BitmapSize(), 0u);
}

TEST(ImageSizeLimit, BitmapAtTheLimitOpens) {
  // 8192 dots: 1024 bytes a line; 16384 lines make exactly 16 MiB.
  CImgDoc doc;
  ASSERT_TRUE(doc.LoadBytes(EarlyEndImage(16384, 8192))) << doc.Message().text;
  EXPECT_EQ(doc.BitmapSize(), kMaxImageBitmapBytes);
  EXPECT_TRUE(doc.EndedEarly());

  CImgDoc over;
  EXPECT_FALSE(over.LoadBytes(EarlyEndImage(16385, 8192)));
  EXPECT_EQ(over.Message().text, "Insufficient Memory to Decode Bitmap");
}

}  // namespace
}  // namespace kelvo::test
