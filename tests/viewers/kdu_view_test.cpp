#include <gtest/gtest.h>

#include "support/test_support.h"
#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"

namespace kelvo::test {
namespace {

struct PngInfo {
  unsigned width = 0, height = 0;
  int depth = 0, colourType = 0;
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
      info.colourType = png[at + 17];
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
  spec.scanLines = lines;
  spec.colour = "RED";
  spec.raster = enc.Bytes();
  return BuildImageFile(spec);
}

// One run of each verb: its output shape and a refusal.
TEST(KduView, ShowImageSummaryAndReadError) {
  TempDir dir;
  WriteFileBytes(dir / "Logo.img", RedImage(1000, 40));
  CommandResult r = RunKdu({"show", (dir / "Logo.img").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("Size: 1000 x 40 dots\n"), std::string::npos);

  ImageFileSpec bad;
  bad.dots = 16;
  bad.scanLines = 1;
  bad.raster = "\x01";
  WriteFileBytes(dir / "Bad.img", BuildImageFile(bad));
  r = RunKdu({"show", (dir / "Bad.img").string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "kdu: Read Error LineNo = nScanLine = 0 \n");
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
  EXPECT_EQ(png.colourType, 3);
  EXPECT_EQ(png.palette.substr(0, 3), std::string("\xFF\x00\x00", 3));

  r = RunKdu({"render", (dir / "Logo.img").string(), "-o", out, "--turns", "0", "--zoom", "100"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  png = ReadPngInfo(ReadFileText(out));
  EXPECT_EQ(png.width, 1008u);
  EXPECT_EQ(png.height, 48u);
  EXPECT_FALSE(std::filesystem::exists(out + ".part"));
}

}  // namespace
}  // namespace kelvo::test
