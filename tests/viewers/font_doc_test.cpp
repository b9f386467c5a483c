#include <gtest/gtest.h>

#include "support/test_support.h"
#include "support/viewer_font_builder.h"
#include "viewers/font_doc.h"

namespace kelvo::test {
namespace {

// Fonts are loaded from files: the label check compares the file's base name.
class FontDocTest : public ::testing::Test {
 protected:
  // Loads `bytes` as `name`: "opened", or the message of the refusal.
  std::string Load(CFontDoc& doc, const std::string& bytes, const std::string& name = "Report.fnt") {
    WriteFileBytes(dir_ / name, bytes);
    return doc.Load((dir_ / name).string()) ? "opened" : doc.Message().text;
  }
  TempDir dir_;
};

FontSpec SpecWithGlyph() {
  FontSpec spec = DefaultFontSpec(20);
  spec.glyphs.push_back(FontGlyphSpec{65, 2, 3, {0x81, 0x02, 0x03, 0x04, 0x05, 0x06}});
  return spec;
}

TEST_F(FontDocTest, ReadsHeaderFstExchangedMatrixAndLabel) {
  FontSpec spec = SpecWithGlyph();
  CFontDoc doc, labelled, other;
  ASSERT_EQ(Load(doc, BuildFont(spec)), "opened");
  EXPECT_FALSE(doc.HasLabel());
  EXPECT_EQ(doc.Entry(65).RowCount(), 2);
  EXPECT_EQ(doc.Entry(65).RowLength(), 3);
  // The file holds the pairs exchanged; the document restores reading order.
  EXPECT_EQ(doc.Matrix(), (std::vector<std::uint8_t>{0x81, 0x02, 0x03, 0x04, 0x05, 0x06}));
  // A label is recognised by the base name, whatever its case.
  spec.label_name = "REPORT";
  ASSERT_EQ(Load(labelled, BuildFont(spec)), "opened");
  EXPECT_TRUE(labelled.HasLabel());
  EXPECT_EQ(labelled.Matrix(), doc.Matrix());
  EXPECT_EQ(labelled.Header(), doc.Header());
  // The same label under another file name is not a label: the header check fails.
  EXPECT_EQ(Load(other, BuildFont(spec), "Other.fnt"), "Invalid Font Header");
}

TEST_F(FontDocTest, MatrixOffsetFollowsTheFstBlocks) {
  const struct { int highest; std::string label; std::size_t offset; } rows[] = {
      {63, "", 1024}, {64, "", 1536}, {64, "C", 1536 + 128}};
  for (const auto& r : rows) {
    FontSpec spec = DefaultFontSpec();
    spec.highest_code = r.highest;
    spec.label_name = r.label;
    CFontDoc doc;
    ASSERT_EQ(Load(doc, BuildFont(spec), "c.fnt"), "opened");
    EXPECT_EQ(doc.MatrixOffset(), r.offset) << r.highest << r.label;
  }
}

TEST_F(FontDocTest, FixedPitchSpacingAndTypeFour) {
  FontSpec spec = DefaultFontSpec(0);
  spec.spacing[0] = 24;
  spec.spacing[1] = 255;
  spec.spacing[200] = 7;
  CFontDoc fixed, wide;
  ASSERT_EQ(Load(fixed, BuildFont(spec)), "opened");
  EXPECT_EQ(fixed.Spacing(1), 24);
  EXPECT_EQ(fixed.Spacing(127), 24);
  EXPECT_EQ(fixed.Spacing(200), 7);  // past the highest code: as stored
  // Type 4 counts the matrix in words.
  spec = SpecWithGlyph();
  spec.font_type = 4;
  ASSERT_EQ(Load(wide, BuildFont(spec)), "opened");
  EXPECT_EQ(wide.MatrixSizeField(), 3);
  EXPECT_EQ(wide.Matrix().size(), 6u);
  EXPECT_EQ(wide.Matrix()[5], 0x06);
  EXPECT_FALSE(wide.Truncated());
}

// Header checks first, then the type checks, then the Vellumtype check.
TEST_F(FontDocTest, RefusalsComeInTheirOrder) {
  const struct {
    int type;
    char pitch, orientation;
    int spacing0, spacing1;
    const char* message;
  } rows[] = {
      {8 | 2 | 16, 'P', 'L', 20, 20, "Five Word FST Fonts Not Yet Supported"},
      {2 | 16, 'P', 'L', 20, 20, "Kanji Fonts Not Yet Supported"},
      {16, 'P', 'L', 20, 20, "Double-byte Fonts Not Yet Supported"},
      {8, 'X', 'L', 20, 20, "Invalid Font Header"},
      {8, 'F', 'Q', 20, 20, "Invalid Font Header"},
      {8, 'F', 'P', 0, 20, "Five Word FST Fonts Not Yet Supported"},
      {0, 'P', 'L', 0, 20, "Vellumtype Fonts Not Yet Supported"},
      // The fixed-pitch rule copies the 0 everywhere.
      {0, 'P', 'L', 0, 255, "Vellumtype Fonts Not Yet Supported"},
  };
  for (const auto& r : rows) {
    FontSpec spec = SpecWithGlyph();
    spec.font_type = r.type;
    spec.pitch = r.pitch;
    spec.orientation = r.orientation;
    spec.spacing[0] = static_cast<std::uint8_t>(r.spacing0);
    spec.spacing[1] = static_cast<std::uint8_t>(r.spacing1);
    CFontDoc doc;
    EXPECT_EQ(Load(doc, BuildFont(spec), "T.fnt"), r.message) << r.type;
  }
}

TEST_F(FontDocTest, DamagedFilesAreRefusedOrReadAsFarAsTheyGo) {
  const std::string full = BuildFont(SpecWithGlyph());
  CFontDoc shortHeader, empty, cut, fst, missing;
  EXPECT_EQ(Load(shortHeader, full.substr(0, 300)), "Invalid Font Header");
  EXPECT_NE(Load(empty, ""), "opened");
  // Ending inside the matrix: opens, the missing bytes read as blank.
  ASSERT_EQ(Load(cut, full.substr(0, full.size() - 3)), "opened");
  EXPECT_TRUE(cut.Truncated());
  EXPECT_EQ(cut.Matrix().size(), 6u);
  EXPECT_EQ(cut.Matrix()[4], 0);
  // Ending inside the FST: the missing entries stay zero.
  ASSERT_EQ(Load(fst, full.substr(0, 512 + 100)), "opened");
  EXPECT_TRUE(fst.Truncated());
  EXPECT_EQ(fst.Entry(65).RowCount(), 0);
  EXPECT_FALSE(missing.Load((dir_ / "none.fnt").string()));
  EXPECT_FALSE(missing.Message().text.empty());
}

}  // namespace
}  // namespace kelvo::test
