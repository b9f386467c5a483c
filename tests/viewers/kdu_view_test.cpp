#include <gtest/gtest.h>

#include "support/test_support.h"
#include "support/viewer_font_builder.h"
#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"

namespace kelvo::test {
namespace {

struct PngInfo {
  unsigned width = 0, height = 0;
  int depth = 0, colour_type = 0;
  std::string palette;
};

unsigned Be32(const std::string& s, std::size_t at) {
  return static_cast<unsigned>(static_cast<unsigned char>(s[at])) << 24 |
         static_cast<unsigned>(static_cast<unsigned char>(s[at + 1])) << 16 |
         static_cast<unsigned>(static_cast<unsigned char>(s[at + 2])) << 8 |
         static_cast<unsigned>(static_cast<unsigned char>(s[at + 3]));
}

// The header and palette of a PNG file, read from its chunks.
PngInfo ReadPngInfo(const std::string& png) {
  PngInfo info;
  if (png.size() < 8 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return info;
  for (std::size_t at = 8; at + 8 <= png.size();) {
    const unsigned len = Be32(png, at);
    const std::string type = png.substr(at + 4, 4);
    if (at + 12 + len > png.size()) break;
    if (type == "IHDR") {
      info.width = Be32(png, at + 8);
      info.height = Be32(png, at + 12);
      info.depth = png[at + 16];
      info.colour_type = png[at + 17];
    } else if (type == "PLTE") {
      info.palette = png.substr(at + 8, len);
    }
    at += 12 + len;
  }
  return info;
}

std::string RedImage(int dots, int lines) {
  RasterEncoder enc(RoundedImageDots(dots));
  std::vector<std::uint8_t> line(static_cast<std::size_t>(RoundedImageDots(dots) / 8), 0);
  line[0] = 0xF0;
  for (int i = 0; i < lines; ++i) enc.Line(line, i % 4);
  enc.End();
  ImageFileSpec spec;
  spec.dots = dots;
  spec.scan_lines = lines;
  spec.colour = "RED";
  spec.raster = enc.Bytes();
  return BuildImageFile(spec);
}

TEST(KduView, ShowFontPropertiesAndRefusal) {
  TempDir dir;
  FontSpec spec = DefaultFontSpec(20);
  spec.orientation = 'P';
  spec.pitch = 'F';
  spec.line_spacing = 300;
  WriteFileBytes(dir / "Report.fnt", BuildFont(spec));
  CommandResult r = RunKdu({"show", (dir / "Report.fnt").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("Orientation: Portrait\n"), std::string::npos);
  EXPECT_NE(r.out.find("Pitch: Fixed\n"), std::string::npos);
  EXPECT_NE(r.out.find("Font Type: Alphanumeric\n"), std::string::npos);
  EXPECT_NE(r.out.find("Size: 72 point\n"), std::string::npos);
  EXPECT_NE(r.out.find("Baseline to Top of Cell: 30 dots\n"), std::string::npos);

  spec.font_type = 16;
  WriteFileBytes(dir / "Double.fnt", BuildFont(spec));
  r = RunKdu({"show", (dir / "Double.fnt").string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "kdu: Double-byte Fonts Not Yet Supported\n");
}

TEST(KduView, ShowImageSummaryAndReadError) {
  TempDir dir;
  WriteFileBytes(dir / "Logo.img", RedImage(1000, 40));
  CommandResult r = RunKdu({"show", (dir / "Logo.img").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("Size: 1000 x 40 dots\n"), std::string::npos);
  EXPECT_NE(r.out.find("Orientation: Portrait\n"), std::string::npos);
  EXPECT_NE(r.out.find("Ink Colour: Red (255, 0, 0)\n"), std::string::npos);

  ImageFileSpec bad;
  bad.dots = 16;
  bad.scan_lines = 1;
  bad.raster = "\x01";
  WriteFileBytes(dir / "Bad.img", BuildImageFile(bad));
  r = RunKdu({"show", (dir / "Bad.img").string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "kdu: Read Error LineNo = nScanLine = 0 \n");
}

TEST(KduView, ShowSourceAndTask) {
  TempDir dir;
  WriteFileBytes(dir / "Job.JSL", "A: B\r\nC\n");
  CommandResult r = RunKdu({"show", (dir / "Job.JSL").string()});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "A: B\nC\n");
  WriteFileBytes(dir / "Run.tsk", std::string("\x01\x00\x02\x00", 4));
  r = RunKdu({"show", (dir / "Run.tsk").string()});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "00000000: 000001 000002 |  A  B|    |\n");
  r = RunKdu({"show", (dir / "none.txt").string()});
  EXPECT_EQ(r.exit_code, 1);
  r = RunKdu({"show", (dir / "none.tsk").string()});
  EXPECT_EQ(r.exit_code, 1);
}

TEST(KduView, RenderImageTurnsAndZooms) {
  TempDir dir;
  WriteFileBytes(dir / "Logo.img", RedImage(1000, 40));
  const std::string out = (dir / "out.png").string();
  CommandResult r = RunKdu({"render", (dir / "Logo.img").string(), "-o", out});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  PngInfo png = ReadPngInfo(ReadFileText(out));
  // 500 x 20 at 50 % rounds to 512 x 32; an image opens turned once.
  EXPECT_EQ(png.width, 32u);
  EXPECT_EQ(png.height, 512u);
  EXPECT_EQ(png.depth, 1);
  EXPECT_EQ(png.colour_type, 3);
  EXPECT_EQ(png.palette.substr(0, 3), std::string("\xFF\x00\x00", 3));

  r = RunKdu({"render", (dir / "Logo.img").string(), "-o", out, "--turns", "0", "--zoom", "100"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  png = ReadPngInfo(ReadFileText(out));
  EXPECT_EQ(png.width, 1008u);
  EXPECT_EQ(png.height, 48u);
  EXPECT_FALSE(std::filesystem::exists(out + ".part"));
}

TEST(KduView, RenderFontGridAndRefusals) {
  TempDir dir;
  FontSpec spec = DefaultFontSpec(10);
  spec.highest_code = 40;
  spec.glyphs = {SolidGlyph(33, 5, 1)};
  WriteFileBytes(dir / "Small.fnt", BuildFont(spec));
  const std::string out = (dir / "grid.png").string();
  CommandResult r = RunKdu({"render", (dir / "Small.fnt").string(), "-o", out});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  PngInfo png = ReadPngInfo(ReadFileText(out));
  EXPECT_EQ(png.width, 16u * 10 + 30);
  EXPECT_EQ(png.height, 3u * 40);
  EXPECT_EQ(png.palette.substr(0, 3), std::string(3, '\0'));
  r = RunKdu({"render", (dir / "Small.fnt").string(), "-o", out, "--turns", "1"});
  ASSERT_EQ(r.exit_code, 0);
  png = ReadPngInfo(ReadFileText(out));
  EXPECT_EQ(png.width, 128u);  // 120 rows rounded up to whole units
  EXPECT_EQ(png.height, 192u);

  spec.baseline_to_bottom = 0;
  spec.baseline_to_top = 0;
  WriteFileBytes(dir / "Flat.fnt", BuildFont(spec));
  r = RunKdu({"render", (dir / "Flat.fnt").string(), "-o", out});
  EXPECT_EQ(r.exit_code, 1);
  WriteFileBytes(dir / "A.pch", "X\n");
  r = RunKdu({"render", (dir / "A.pch").string(), "-o", out});
  EXPECT_EQ(r.exit_code, 1);
  r = RunKdu({"render", (dir / "Small.fnt").string()});
  EXPECT_EQ(r.exit_code, 2);
  r = RunKdu({"render", (dir / "Small.fnt").string(), "-o", out, "--zoom", "0"});
  EXPECT_EQ(r.exit_code, 2);
}

}  // namespace
}  // namespace kelvo::test
