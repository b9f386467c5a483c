#include <gtest/gtest.h>

#include <random>

#include "support/scripted_interaction.h"
#include "support/test_support.h"
#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"
#include "viewers/raster_decoder.h"

namespace kelvo::test {
namespace {

using Lines = std::vector<std::vector<std::uint8_t>>;

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
  RasterEncoder enc(RoundedImageDots(dots));
  for (std::size_t i = 0; i < lines.size(); ++i) enc.Line(lines[i], static_cast<int>(i % 4));
  if (end) enc.End();
  if (stats) *stats = enc;
  return enc.Bytes();
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
  ImageFileSpec s;
  s.dots = dots;
  s.scan_lines = lines;
  s.raster = raster;
  return s;
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
  EXPECT_EQ(doc.DotsPerLine(), 1000);
  EXPECT_EQ(doc.Kind(), kImgKindRasterEncoding);
  EXPECT_TRUE(doc.Portrait());
  EXPECT_FALSE(doc.EndedEarly());
  EXPECT_EQ(Held(doc), Expected(lines));
}

TEST(ImageDoc, ModesCombineLinesByExclusiveOr) {
  // Line A, mode 2: one dot. Line B, mode 1: nothing written, so it repeats A.
  // Line C, mode 3: one dot, then each byte XORed with the one before it.
  const std::string raster("\x70\x02\x80\x10\x03\x87\x10", 7);
  CImgDoc doc;
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(Spec(16, 3, raster))));
  EXPECT_EQ(Held(doc), (std::vector<std::uint8_t>{0x7F, 0xFF, 0x7F, 0xFF, 0x7F, 0x7F}));
}

TEST(ImageDoc, ModeByteStartingMidByte) {
  // 20 dots: five groups in mode 0, so the next mode starts in the low half
  // of a byte; the rest of the byte that ends the mode is dropped.
  const std::string raster("\x70\x00\xF0\xA5\xC0\x2F\x87\x10", 8);
  CImgDoc doc;
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(Spec(20, 3, raster))));
  ASSERT_EQ(doc.LineBytes(), 2);
  // Line 1 holds F0 A5 (the fifth group falls past the stored bytes); its
  // mode 0x02 is read from "0" + "2"; line 2 is t=8 (one dot) then 0x71.
  EXPECT_TRUE(doc.EndedEarly());
  EXPECT_EQ(Held(doc), (std::vector<std::uint8_t>{0x0F, 0x5A, 0x7F, 0xFF, 0x00, 0x00}));
}

TEST(ImageDoc, EndCodeEndsTheImageEarlyAndLeavesInk) {
  Lines lines = RandomLines(64, 3, 3);
  CImgDoc doc;
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(Spec(64, 5, EncodeLines(lines, 64, true)))));
  EXPECT_TRUE(doc.EndedEarly());
  std::vector<std::uint8_t> want = Expected(lines);
  want.resize(5 * 8, 0x00);  // lines never decoded stay 0: ink
  EXPECT_EQ(Held(doc), want);
}

TEST(ImageDoc, ReadErrorsNameTheLinesStored) {
  CImgDoc doc;
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(Spec(16, 2, std::string("\x71\x02", 2)))));
  EXPECT_EQ(doc.Message().text, "Read Error LineNo = nScanLine = 0 ");
  EXPECT_EQ(doc.Message().title, "");
  EXPECT_EQ(doc.BitmapSize(), 0u);

  // The raster stops in the middle of the third line.
  Lines lines = RandomLines(800, 6, 5);
  for (auto& l : lines) l[10] = 0x5A;
  std::string raster = EncodeLines(lines, 800, true);
  RasterEncoder two(800);
  two.Line(lines[0], 0);
  two.Line(lines[1], 1);
  two.Line(lines[2], 2);
  const std::size_t cut = two.Bytes().size() - 3;
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(Spec(800, 6, raster.substr(0, cut)))));
  EXPECT_EQ(doc.Message().text, "Read Error LineNo = nScanLine = 2 ");

  // Mode above 3, 0x70 inside a line, a single dot with a skip below 2.
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(Spec(16, 2, std::string("\x70\x05", 2)))));
  EXPECT_EQ(doc.Message().text, "Read Error LineNo = nScanLine = 0 ");
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(Spec(16, 2, std::string("\x70\x02\x70", 3)))));
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(Spec(16, 2, std::string("\x70\x02\xC1\x80\x71", 5)))));
  // No raster at all after the header.
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(Spec(16, 2, ""))));
}

TEST(ImageDoc, CodeWritingPastTheLineFails) {
  // 16 dots = 4 groups: skipping 5 groups lands past the end.
  CImgDoc doc;
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(Spec(16, 1, std::string("\x70\x02\x14\x71", 4)))));
  EXPECT_EQ(doc.Message().text, "Read Error LineNo = nScanLine = 0 ");
  // A blank run of 64 groups in a 16-dot line.
  EXPECT_FALSE(doc.LoadBytes(BuildImageFile(Spec(16, 1, std::string("\x70\x02\xC1\x07\x10", 5)))));
  // The last group of the line is fine.
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(Spec(16, 1, std::string("\x70\x02\x0F\x71", 4)))));
  EXPECT_EQ(Held(doc), (std::vector<std::uint8_t>{0xFF, 0xFE}));
}

TEST(ImageDoc, ImagesWiderThan8192DotsDecode) {
  Lines lines = RandomLines(10000, 6, 11);
  for (auto& l : lines) l.back() = 0x81;
  CImgDoc doc;
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(Spec(10000, 6, EncodeLines(lines, 10000, true)))));
  EXPECT_EQ(Held(doc), Expected(lines));
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
  EXPECT_EQ(doc.Message().icon, Icon::Exclamation);
  EXPECT_FALSE(doc.LoadBytes(""));
  EXPECT_FALSE(doc.LoadBytes("VELLUMTYPE/KEL"));
}

TEST(ImageDoc, VersionTokensKindAndOrientation) {
  const std::string raster = EncodeLines(RandomLines(32, 2, 1), 32, true);
  ImageFileSpec spec = Spec(32, 2, raster);
  CImgDoc doc;
  spec.orientation = "Landscape";
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(spec)));
  EXPECT_FALSE(doc.Portrait());
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

TEST(ImageDoc, InkColourFromTheMarkedName) {
  const std::string raster = EncodeLines(RandomLines(32, 2, 1), 32, true);
  ImageFileSpec spec = Spec(32, 2, raster);
  CImgDoc doc;
  const std::pair<const char*, Rgb> cases[] = {{"RED", {255, 0, 0}},
                                               {"blue", {0, 0, 255}},
                                               {"Green", {0, 255, 0}},
                                               {"REDDISH", {0, 0, 0}},
                                               {"MAGENTA", {0, 0, 0}}};
  for (const auto& [name, rgb] : cases) {
    spec.colour = name;
    ASSERT_TRUE(doc.LoadBytes(BuildImageFile(spec)));
    EXPECT_EQ(doc.InkColour(), rgb) << name;
  }
  spec.colour.clear();
  ASSERT_TRUE(doc.LoadBytes(BuildImageFile(spec)));
  EXPECT_EQ(doc.InkColour(), Rgb{});
}

TEST(ImageDoc, OpeningShowsTheReadErrorOnceWithoutCaption) {
  TempDir dir;
  WriteFileBytes(dir / "bad.img", BuildImageFile(Spec(16, 2, "\x33")));
  ScriptedInteraction ui;
  CImgDoc doc;
  EXPECT_FALSE(doc.OnOpenDocument((dir / "bad.img").string(), ui));
  ASSERT_EQ(ui.asks.size(), 1u);
  EXPECT_EQ(ui.asks[0].text, "Read Error LineNo = nScanLine = 0 ");
  EXPECT_EQ(ui.asks[0].title, "");
  WriteFileBytes(dir / "plain.img", "not an image");
  EXPECT_FALSE(doc.OnOpenDocument((dir / "plain.img").string(), ui));
  EXPECT_EQ(ui.asks.back().text, "Unsupported Image Format");
  EXPECT_EQ(ui.beeps.size(), 1u);
}

TEST(ImageDoc, RoundedDots) {
  EXPECT_EQ(RoundedImageDots(1000), 1008);
  EXPECT_EQ(RoundedImageDots(1008), 1008);
  EXPECT_EQ(RoundedImageDots(12), 20);
  EXPECT_EQ(RoundedImageDots(0), 0);
}

}  // namespace
}  // namespace kelvo::test
