#include <gtest/gtest.h>

#include <random>

#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"

namespace kelvo::test {
namespace {

using Lines = ImageLines;

// Random lines of ink, sparse enough to use skips, with some solid runs.
Lines RandomLines(int dots, int count, unsigned seed) {
  std::mt19937 rng(seed);
  const std::size_t bytes = static_cast<std::size_t>(RoundedImageDots(dots) / 8);
  Lines lines(static_cast<std::size_t>(count), std::vector<std::uint8_t>(bytes, 0));
  for (auto& line : lines) {
    for (std::size_t i = 0; i < bytes; ++i) {
      const unsigned r = rng() % 100;
      if (r < 10) line[i] = static_cast<std::uint8_t>(rng());
      else if (r < 14) line[i] = 0xFF;
    }
    if (rng() % 4 == 0) std::fill(line.begin(), line.end(), 0);  // a blank line
  }
  return lines;
}

std::string EncodeLines(const Lines& lines, int dots, bool end, RasterEncoder* stats = nullptr) {
  return EncodeImageLines(lines, RoundedImageDots(dots), end, stats);
}

// The bitmap the document should hold: the lines inverted.
std::vector<std::uint8_t> Expected(const Lines& lines) {
  std::vector<std::uint8_t> out;
  for (const auto& line : lines)
    for (std::uint8_t b : line) out.push_back(static_cast<std::uint8_t>(~b));
  return out;
}

std::vector<std::uint8_t> Held(const CImgDoc& doc) {
  return std::vector<std::uint8_t>(doc.Bitmap(), doc.Bitmap() + doc.BitmapSize());
}

ImageFileSpec Spec(int dots, int lines, const std::string& raster) {
  return {.scan_lines = lines, .dots = dots, .raster = raster};
}

TEST(ImageDoc, EveryCodeFormDecodesToTheEncodedLines) {
  const int dots = 1000;
  Lines lines = RandomLines(dots, 40, 7);
  lines[3].assign(lines[3].size(), 0);
  lines[3][100] = 0x80;  // a dot after a long blank run
  RasterEncoder stats(RoundedImageDots(dots));
  CImgDoc doc;
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(Spec(dots, 40, EncodeLines(lines, dots, true, &stats)))))
      << doc.Message().text;
  for (int f = 0; f < static_cast<int>(RasterForm::kCount); ++f) {
    EXPECT_GT(stats.FormCounts()[static_cast<std::size_t>(f)], 0) << "form " << f;
  }
  EXPECT_EQ(doc.LineBytes(), 126);  // 1000 dots: 125 bytes, an odd count, so 1008 dots
  EXPECT_FALSE(doc.EndedEarly());
  EXPECT_EQ(Held(doc), Expected(lines));
  // Images wider than 8192 dots decode too.
  lines = RandomLines(10000, 6, 11);
  for (auto& l : lines) l.back() = 0x81;
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(Spec(10000, 6, EncodeLines(lines, 10000, true)))));
  EXPECT_EQ(Held(doc), Expected(lines));
}

TEST(ImageDoc, ModeByteStartingMidByteAndAnEarlyEnd) {
  // 20 dots: five groups in mode 0, so the next mode starts in the low half
  // of a byte; the rest of the byte that ends the mode is dropped.
  const std::string raster("\x70\x00\xF0\xA5\xC0\x2F\x87\x10", 8);
  CImgDoc doc;
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(Spec(20, 3, raster))));
  ASSERT_EQ(doc.LineBytes(), 2);
  // Line 1 holds F0 A5 (the fifth group falls past the stored bytes); its
  // mode 0x02 is read from "0" + "2"; line 2 is t=8 (one dot) then the end
  // code 0x71, which ends the image early: line 3 is never decoded and
  // stays 0, ink.
  EXPECT_TRUE(doc.EndedEarly());
  EXPECT_EQ(Held(doc), (std::vector<std::uint8_t>{0x0F, 0x5A, 0x7F, 0xFF, 0x00, 0x00}));
}

TEST(ImageDoc, BadCodesAreReadErrorsNamingTheLinesStored) {
  const struct {
    const char* what;
    int dots;
    std::string raster;
  } rows[] = {
      {"no mode after the start", 16, std::string("\x71\x02", 2)},
      {"mode above 3", 16, std::string("\x70\x05", 2)},
      {"0x70 inside a line", 16, std::string("\x70\x02\x70", 3)},
      {"single dot, skip below 2", 16, std::string("\x70\x02\xC1\x80\x71", 5)},
      {"skip of 5 groups in 4", 16, std::string("\x70\x02\x14\x71", 4)},
      {"blank run of 64 groups", 16, std::string("\x70\x02\xC1\x07\x10", 5)},
      {"no raster", 16, ""},
  };
  CImgDoc doc;
  for (const auto& r : rows) {
    EXPECT_FALSE(doc.LoadBytes(BuildImageFile(Spec(r.dots, 2, r.raster)))) << r.what;
    EXPECT_EQ(doc.Message().text, "Read Error LineNo = nScanLine = 0 ") << r.what;
    EXPECT_EQ(doc.Message().title, "");
    EXPECT_EQ(doc.BitmapSize(), 0u);
  }
  // The last group of the line is fine.
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(Spec(16, 1, std::string("\x70\x02\x0F\x71", 4)))));
  EXPECT_EQ(Held(doc), (std::vector<std::uint8_t>{0xFF, 0xFE}));

  // The raster stops in the middle of the third line.
  Lines lines = RandomLines(800, 6, 5);
  for (auto& l : lines) l[10] = 0x5A;
  RasterEncoder two(800);
  for (int i = 0; i < 3; ++i) two.Line(lines[static_cast<std::size_t>(i)], i);
  const std::string cut = EncodeLines(lines, 800, true).substr(0, two.Bytes().size() - 3);
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(Spec(800, 6, cut))));
  EXPECT_EQ(doc.Message().text, "Read Error LineNo = nScanLine = 2 ");
}

// A header claiming a bitmap beyond kMaxImageBitmapBytes is refused before
// anything is allocated; the largest allowed one still opens.
TEST(ImageDoc, BitmapsUpToTheLimitOpen) {
  // 8192 dots: 1024 bytes a line; 16384 lines make exactly 16 MiB. The
  // raster ends after one blank line (an early end, which is accepted).
  const auto image = [](int lines, int dots) {
    RasterEncoder encoder(RoundedImageDots(dots));
    encoder.Line(std::vector<std::uint8_t>(static_cast<std::size_t>(RoundedImageDots(dots) / 8), 0), 0);
    encoder.End();
    return BuildImageFile(Spec(dots, lines, encoder.Bytes()));
  };
  CImgDoc doc;
  ASSERT_TRUE(doc.LoadBytes(image(16384, 8192))) << doc.Message().text;
  EXPECT_EQ(doc.BitmapSize(), kMaxImageBitmapBytes);
  EXPECT_TRUE(doc.EndedEarly());
  for (const auto& [lines, dots] : {std::pair{16385, 8192}, std::pair{65535, 65520}}) {
    EXPECT_FALSE(doc.LoadBytes(image(lines, dots)));
    EXPECT_EQ(doc.Message().text, "Insufficient Memory to Decode Bitmap");
    EXPECT_EQ(doc.Bitmap(), nullptr);
    EXPECT_EQ(doc.BitmapSize(), 0u);
  }
}

TEST(ImageDoc, HeaderIsFoundAt0And128And512) {
  Lines lines = RandomLines(96, 4, 2);
  ImageFileSpec spec = Spec(96, 4, EncodeLines(lines, 96, true));
  for (std::size_t base : {0u, 128u, 512u}) {
    spec.base = base;
    CImgDoc doc;
    ASSERT_TRUE(doc.LoadBytes(BuildImageFile(spec))) << base;
    EXPECT_EQ(doc.Base(), base);
    EXPECT_EQ(Held(doc), Expected(lines));
  }
  spec.base = 64;
  CImgDoc doc;
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(spec)));
  EXPECT_EQ(doc.Message().text, "Unsupported Image Format");
  EXPECT_FALSE(doc.LoadBytes(""));
  EXPECT_FALSE(doc.LoadBytes("VELLUMTYPE/KEL"));
}

TEST(ImageDoc, VersionTokensKindOrientationAndInkColour) {
  const std::string raster = EncodeLines(RandomLines(32, 2, 1), 32, true);
  ImageFileSpec spec = Spec(32, 2, raster);
  CImgDoc doc;
  const std::pair<const char*, Rgb> colours[] = {
      {"blue", {0, 0, 255}}, {"Green", {0, 255, 0}}, {"REDDISH", {0, 0, 0}}};
  for (const auto& [name, rgb] : colours) {
    spec.colour = name;
    ASSERT_TRUE(doc.LoadBytes(BuildImageFile(spec)));
    EXPECT_EQ(doc.InkColour(), rgb) << name;
  }
  spec.orientation = "LANDSCAPE";
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(spec)));
  EXPECT_FALSE(doc.Portrait());
  for (const char* version : {"/2.0/ImgFormat/2.0", "/1.0/imgformat/1.0"}) {
    spec.version = version;
    ASSERT_TRUE(doc.LoadBytes(BuildImageFile(spec))) << version;
    EXPECT_EQ(doc.Kind(), kImgKindImgFormat);
    EXPECT_TRUE(doc.Portrait());  // whatever follows
    EXPECT_EQ(doc.ScanLines(), 2);
  }
  spec.version = "/2.1/RasterEncoding/1.0";
  spec.encoding = "V1.0 Something Else";
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(spec)));
  EXPECT_EQ(doc.Message().text, "Unsupported Image Type");
  spec.version = "/3.0/ImgFormat/3.0";
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(spec)));
  EXPECT_EQ(doc.Message().text, "Unsupported Image Type");
}

}  // namespace
}  // namespace kelvo::test
