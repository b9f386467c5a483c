// kdu show and render: exit status, output shape and the messages of files
// that cannot be shown (the viewers are tested in viewers/).
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "support/viewer_font_builder.h"
#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"

namespace kelvo::test {
namespace {

// The header of a PNG file (IHDR is its first chunk) and its first palette colour.
struct PngInfo {
  unsigned width = 0, height = 0;
  int depth = 0, colour_type = 0;
  std::string ink;
};
PngInfo ReadPngInfo(const std::string& png) {
  PngInfo info;
  if (png.size() < 33 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return info;
  const auto be32 = [&png](std::size_t at) {
    unsigned v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(png[at + i]);
    return v;
  };
  info.width = be32(16);
  info.height = be32(20);
  info.depth = png[24];
  info.colour_type = png[25];
  if (const std::size_t plte = png.find("PLTE"); plte != std::string::npos) info.ink = png.substr(plte + 4, 3);
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

TEST(KduView, ShowPrintsPropertiesAndTexts) {
  TempDir dir;
  FontSpec spec = DefaultFontSpec(20);
  spec.orientation = 'P';
  spec.pitch = 'F';
  spec.line_spacing = 300;
  WriteFileBytes(dir / "Report.fnt", BuildFont(spec));
  spec.font_type = 16;
  WriteFileBytes(dir / "Double.fnt", BuildFont(spec));
  WriteFileBytes(dir / "Logo.img", RedImage(1000, 40));
  WriteFileBytes(dir / "Job.JSL", "A: B\r\nC\n");
  WriteFileBytes(dir / "Run.tsk", std::string("\x01\x00\x02\x00", 4));
  const struct {
    std::string file;
    int exit_code;
    std::vector<std::string> out;  // lines found in stdout, or the whole stdout
    std::string err;
  } cases[] = {
      {"Report.fnt", 0, {"Orientation: Portrait\n", "Pitch: Fixed\n", "Size: 72 point\n",
                         "Baseline to Top of Cell: 30 dots\n"}, ""},
      {"Double.fnt", 1, {}, "kdu: Double-byte Fonts Not Yet Supported\n"},
      {"Logo.img", 0, {"Size: 1000 x 40 dots\n", "Ink Colour: Red (255, 0, 0)\n"}, ""},
      {"Job.JSL", 0, {"A: B\nC\n"}, ""},
      {"Run.tsk", 0, {"00000000: 000001 000002 |  A  B|    |\n"}, ""},
  };
  for (const auto& c : cases) {
    const CommandResult r = RunKdu({"show", (dir / c.file).string()});
    SCOPED_TRACE(c.file + ": " + r.out);
    EXPECT_EQ(r.exit_code, c.exit_code);
    EXPECT_EQ(r.err, c.err);
    if (c.out.size() == 1) {
      EXPECT_EQ(r.out, c.out[0]);
    }
    for (const std::string& line : c.out) EXPECT_NE(r.out.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(RunKdu({"show", (dir / "none.tsk").string()}).exit_code, 1);
}

TEST(KduView, RenderTurnsAndZooms) {
  TempDir dir;
  WriteFileBytes(dir / "Logo.img", RedImage(1000, 40));
  FontSpec spec = DefaultFontSpec(10);
  spec.highest_code = 40;
  spec.glyphs = {SolidGlyph(33, 5, 1)};
  WriteFileBytes(dir / "Small.fnt", BuildFont(spec));
  spec.baseline_to_bottom = 0;
  spec.baseline_to_top = 0;
  WriteFileBytes(dir / "Flat.fnt", BuildFont(spec));
  WriteFileBytes(dir / "A.pch", "X\n");
  const std::string out = (dir / "out.png").string();
  const struct {
    std::string file;
    std::vector<std::string> options;
    unsigned width, height;
    std::string ink;
  } cases[] = {
      // 500 x 20 at 50 % rounds to 512 x 32; an image opens turned once.
      {"Logo.img", {}, 32, 512, std::string("\xFF\x00\x00", 3)},
      {"Logo.img", {"--turns", "0", "--zoom", "100"}, 1008, 48, std::string("\xFF\x00\x00", 3)},
      {"Small.fnt", {}, 16 * 10 + 30, 3 * 40, std::string(3, '\0')},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"render", (dir / c.file).string(), "-o", out};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CommandResult r = RunKdu(args);
    ASSERT_EQ(r.exit_code, 0) << c.file << r.err;
    const PngInfo png = ReadPngInfo(ReadFileText(out));
    EXPECT_EQ(png.width, c.width) << c.file;
    EXPECT_EQ(png.height, c.height) << c.file;
    EXPECT_EQ(png.depth, 1);
    EXPECT_EQ(png.colour_type, 3);
    EXPECT_EQ(png.ink, c.ink);
  }
  EXPECT_FALSE(std::filesystem::exists(out + ".part"));
  for (const char* file : {"Flat.fnt", "A.pch"})
    EXPECT_EQ(RunKdu({"render", (dir / file).string(), "-o", out}).exit_code, 1) << file;
}

}  // namespace
}  // namespace kelvo::test
