// kdu show and render: exit status, output shape and the messages of files
// that cannot be shown (the viewers are tested in viewers/).
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "support/viewer_font_builder.h"
#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"

namespace kelvo::test {
namespace {

// A red image of 1000 x 40 dots, ink at the start of every line.
std::string RedImage() {
  const int dots = RoundedImageDots(1000);
  ImageLines lines(40, std::vector<std::uint8_t>(static_cast<std::size_t>(dots / 8), 0));
  for (auto& line : lines) line[0] = 0xF0;
  return BuildImageFile(
      {.orientation = {}, .scan_lines = 40, .dots = 1000, .colour = "RED", .raster = EncodeImageLines(lines, dots)});
}

TEST(KduView, ShowPrintsPropertiesAndTexts) {
  TempDir dir;
  FontSpec spec = DefaultFontSpec(20);
  WriteFileBytes(dir / "Report.fnt", BuildFont(spec));
  spec.font_type = 16;
  WriteFileBytes(dir / "Double.fnt", BuildFont(spec));
  WriteFileBytes(dir / "Logo.img", RedImage());
  WriteFileBytes(dir / "Job.JSL", "A: B\r\nC\n");
  const struct {
    std::string file;
    int exit_code;
    std::string out;  // a line of stdout, or the whole of it for a text
    std::string err;
  } cases[] = {
      {"Report.fnt", 0, "Baseline to Top of Cell: 30 dots\n", ""},
      {"Double.fnt", 1, "", "kdu: Double-byte Fonts Not Yet Supported\n"},
      {"Logo.img", 0, "Size: 1000 x 40 dots\n", ""},
      {"Job.JSL", 0, "A: B\nC\n", ""},
  };
  for (const auto& c : cases) {
    const CommandResult r = RunKdu({"show", (dir / c.file).string()});
    SCOPED_TRACE(c.file + ": " + r.out);
    EXPECT_EQ(r.exit_code, c.exit_code);
    EXPECT_EQ(r.err, c.err);
    EXPECT_NE(r.out.find(c.out), std::string::npos);
  }
  EXPECT_EQ(RunKdu({"show", (dir / "none.tsk").string()}).exit_code, 1);
}

// The PNG's size from its header (IHDR), bit depth 1 and a palette: 500 x 20
// at 50 % rounds to 512 x 32, and an image opens turned once.
TEST(KduView, RenderTurnsAndZooms) {
  TempDir dir;
  WriteFileBytes(dir / "Logo.img", RedImage());
  WriteFileBytes(dir / "A.pch", "X\n");
  const std::string out = (dir / "out.png").string();
  const CommandResult r = RunKdu({"render", (dir / "Logo.img").string(), "-o", out});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string png = ReadFileText(out);
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(png.substr(16, 10), std::string("\0\0\0\x20\0\0\x02\0\x01\x03", 10));
  EXPECT_NE(png.find(std::string("PLTE\xFF\x00\x00", 7)), std::string::npos);  // red ink
  EXPECT_FALSE(std::filesystem::exists(out + ".part"));
  EXPECT_EQ(RunKdu({"render", (dir / "A.pch").string(), "-o", out}).exit_code, 1);
}

}  // namespace
}  // namespace kelvo::test
