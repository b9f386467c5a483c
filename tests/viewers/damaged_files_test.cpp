// Damaged fonts and images: every load ends in a clear refusal or a
// document whose pictures can be drawn, never in a fault. Run under the
// sanitizer build to catch out-of-bounds reads.
#include <gtest/gtest.h>

#include <random>

#include "support/test_support.h"
#include "support/viewer_font_builder.h"
#include "support/viewer_image_builder.h"
#include "viewers/font_grid.h"
#include "viewers/image_doc.h"
#include "viewers/image_view_model.h"

namespace kelvo::test {
namespace {

std::string Mutate(std::string bytes, std::mt19937& rng, std::size_t from) {
  const int flips = 1 + static_cast<int>(rng() % 8);
  for (int i = 0; i < flips && bytes.size() > from; ++i) {
    const std::size_t at = from + rng() % (bytes.size() - from);
    bytes[at] = static_cast<char>(rng());
  }
  if (rng() % 4 == 0) bytes.resize(rng() % (bytes.size() + 1));
  return bytes;
}

TEST(DamagedFiles, MutatedFontsLoadOrRefuseAndDraw) {
  FontSpec spec = DefaultFontSpec(12);
  spec.orientation = 'P';
  spec.highest_code = 90;
  for (int c = 32; c <= 90; c += 3) spec.glyphs.push_back(SolidGlyph(c, 10 + c % 7, 1 + c % 3));
  const std::string good = BuildFont(spec);
  TempDir dir;
  std::mt19937 rng(2024);
  int opened = 0;
  int refused = 0;
  const char orientations[] = {'P', 'L', 'I', 'J'};
  for (int round = 0; round < 300; ++round) {
    std::string bytes = Mutate(good, rng, 0);
    // Keep most headers valid so the FST and matrix paths are exercised.
    if (bytes.size() > 1 && rng() % 3 != 0) {
      bytes[0] = orientations[rng() % 4];
      bytes[1] = (rng() % 2) ? 'F' : 'P';
    }
    WriteFileBytes(dir / "M.fnt", bytes);
    CFontDoc doc;
    if (!doc.Load((dir / "M.fnt").string())) {
      EXPECT_FALSE(doc.Message().text.empty());
      ++refused;
      continue;
    }
    ++opened;
    FontGridPicture p = PaintFontGrid(doc);
    EXPECT_EQ(p.bitmap.Empty(), !p.note.empty());
    for (int code = 0; code <= doc.HighestCode(); code += 7) UnpackGlyph(doc, code);
  }
  EXPECT_GT(opened, 50);
  EXPECT_GT(refused, 10);
}

TEST(DamagedFiles, MutatedImagesDecodeOrFailWithTheReadError) {
  std::mt19937 rng(99);
  ImageLines lines(30, std::vector<std::uint8_t>(static_cast<std::size_t>(RoundedImageDots(200) / 8)));
  for (auto& line : lines)
    for (auto& b : line) b = (rng() % 5 == 0) ? static_cast<std::uint8_t>(rng()) : 0;
  ImageFileSpec spec;
  spec.dots = 200;
  spec.scan_lines = 30;
  spec.raster = EncodeImageLines(lines, RoundedImageDots(200));
  const std::string good = BuildImageFile(spec);
  int decoded = 0;
  int readErrors = 0;
  for (int round = 0; round < 500; ++round) {
    // Damage the raster (and now and then the size fields).
    const std::string bytes = Mutate(good, rng, round % 10 == 0 ? 458 : 512);
    CImgDoc doc;
    if (doc.LoadBytes(bytes)) {
      ++decoded;
      if (doc.BitmapSize() > (1u << 22)) continue;  // huge sizes from damaged fields
      CImgViewModel view(doc, ImageViewOptions{});
      EXPECT_EQ(view.Display().Width() % 16, 0);
    } else {
      EXPECT_FALSE(doc.Message().text.empty());
      if (doc.Message().text.rfind("Read Error LineNo = nScanLine = ", 0) == 0) ++readErrors;
    }
  }
  EXPECT_GT(decoded, 10);
  EXPECT_GT(readErrors, 50);
}

}  // namespace
}  // namespace kelvo::test
