#include <gtest/gtest.h>

#include "support/scripted_interaction.h"
#include "support/test_support.h"
#include "support/viewer_font_builder.h"
#include "viewers/font_doc.h"

namespace kelvo::test {
namespace {

struct Loaded {
  bool ok = false;
  CFontDoc doc;
};

std::unique_ptr<Loaded> LoadFont(const TempDir& dir, const std::string& name,
                                 const std::string& bytes) {
  auto out = std::make_unique<Loaded>();
  WriteFileBytes(dir / name, bytes);
  out->ok = out->doc.Load((dir / name).string());
  return out;
}

FontSpec SpecWithGlyph() {
  FontSpec spec = DefaultFontSpec(20);
  FontGlyphSpec g;
  g.code = 65;
  g.rows = 2;
  g.row_length = 3;
  g.bytes = {0x81, 0x02, 0x03, 0x04, 0x05, 0x06};
  spec.glyphs.push_back(g);
  return spec;
}

TEST(FontDoc, NameWithoutExtensionIsRefusedBeforeReading) {
  CFontDoc doc;
  EXPECT_FALSE(doc.Load("/no/such/folder/FONT"));
  EXPECT_EQ(doc.Message().text, "Invalid file type");
  EXPECT_EQ(doc.Message().icon, Icon::Information);
}

TEST(FontDoc, ReadsHeaderFstAndExchangedMatrix) {
  TempDir dir;
  auto f = LoadFont(dir, "Report.fnt", BuildFont(SpecWithGlyph()));
  ASSERT_TRUE(f->ok) << f->doc.Message().text;
  const CFontDoc& doc = f->doc;
  EXPECT_FALSE(doc.HasLabel());
  EXPECT_EQ(doc.Orientation(), 'L');
  EXPECT_EQ(doc.CellHeight(), 40);
  EXPECT_EQ(doc.HighestCode(), 127);
  EXPECT_EQ(doc.MatrixOffset(), 512u * 3);
  FstEntry e = doc.Entry(65);
  EXPECT_EQ(e.RowCount(), 2);
  EXPECT_EQ(e.RowLength(), 3);
  ASSERT_EQ(doc.Matrix().size(), 6u);
  // The file holds the pairs exchanged; the document restores reading order.
  EXPECT_EQ(doc.Matrix()[0], 0x81);
  EXPECT_EQ(doc.Matrix()[1], 0x02);
  EXPECT_EQ(doc.FstEntrySize(), 8);
  // Each entry sits in a 10-byte slot whose last two bytes are zero.
  ASSERT_EQ(doc.FstSlots().size(), 128u * 10);
  EXPECT_EQ(doc.FstSlots()[65 * 10 + 4], 0xFE);
  EXPECT_EQ(doc.FstSlots()[65 * 10 + 8], 0);
  EXPECT_EQ(doc.FstSlots()[65 * 10 + 9], 0);
}

TEST(FontDoc, LabelIsRecognisedByTheBaseNameIgnoringCase) {
  TempDir dir;
  FontSpec spec = SpecWithGlyph();
  auto plain = LoadFont(dir, "Report.fnt", BuildFont(spec));
  spec.label_name = "REPORT";
  auto labelled = LoadFont(dir, "Report.fnt", BuildFont(spec));
  ASSERT_TRUE(labelled->ok);
  EXPECT_TRUE(labelled->doc.HasLabel());
  EXPECT_EQ(labelled->doc.MatrixOffset(), plain->doc.MatrixOffset() + 128);
  EXPECT_EQ(labelled->doc.Matrix(), plain->doc.Matrix());
  EXPECT_EQ(labelled->doc.Header(), plain->doc.Header());
  // The same label under another file name is not a label: the header check fails.
  auto other = LoadFont(dir, "Other.fnt", BuildFont(spec));
  EXPECT_FALSE(other->ok);
  EXPECT_EQ(other->doc.Message().text, "Invalid Font Header");
}

TEST(FontDoc, MatrixOffsetFollowsTheFstBlocks) {
  TempDir dir;
  FontSpec spec = DefaultFontSpec();
  spec.highest_code = 63;
  auto a = LoadFont(dir, "A.fnt", BuildFont(spec));
  ASSERT_TRUE(a->ok);
  EXPECT_EQ(a->doc.MatrixOffset(), 1024u);
  spec.highest_code = 64;
  auto b = LoadFont(dir, "B.fnt", BuildFont(spec));
  ASSERT_TRUE(b->ok);
  EXPECT_EQ(b->doc.MatrixOffset(), 1536u);
  EXPECT_EQ(b->doc.FstSlots().size(), 65u * 10);
  spec.label_name = "C";
  auto c = LoadFont(dir, "c.fnt", BuildFont(spec));
  ASSERT_TRUE(c->ok);
  EXPECT_EQ(c->doc.MatrixOffset(), 1536u + 128);
}

TEST(FontDoc, FixedPitchSpacingRule) {
  TempDir dir;
  FontSpec spec = DefaultFontSpec(0);
  spec.spacing[0] = 24;
  spec.spacing[1] = 255;
  spec.spacing[200] = 7;
  spec.highest_code = 127;
  auto f = LoadFont(dir, "F.fnt", BuildFont(spec));
  ASSERT_TRUE(f->ok);
  EXPECT_EQ(f->doc.Spacing(1), 24);
  EXPECT_EQ(f->doc.Spacing(127), 24);
  EXPECT_EQ(f->doc.Spacing(200), 7);  // past the highest code: as stored
}

TEST(FontDoc, VellumtypeFontIsRefused) {
  TempDir dir;
  FontSpec spec = DefaultFontSpec(10);
  spec.spacing[0] = 0;
  auto f = LoadFont(dir, "V.fnt", BuildFont(spec));
  EXPECT_FALSE(f->ok);
  EXPECT_EQ(f->doc.Message().text, "Vellumtype Fonts Not Yet Supported");
  spec.spacing[1] = 255;  // the fixed-pitch rule copies the 0 everywhere
  f = LoadFont(dir, "V.fnt", BuildFont(spec));
  EXPECT_EQ(f->doc.Message().text, "Vellumtype Fonts Not Yet Supported");
}

TEST(FontDoc, TypeFourReadsTwiceTheMatrixSize) {
  TempDir dir;
  FontSpec spec = SpecWithGlyph();
  spec.font_type = 4;
  auto f = LoadFont(dir, "W.fnt", BuildFont(spec));
  ASSERT_TRUE(f->ok);
  EXPECT_EQ(f->doc.MatrixSizeField(), 3);
  EXPECT_EQ(f->doc.Matrix().size(), 6u);
  EXPECT_EQ(f->doc.Matrix()[5], 0x06);
  EXPECT_FALSE(f->doc.Truncated());
  EXPECT_STREQ(FontTypeText(4), FontTypeText(0));
}

TEST(FontDoc, RefusalsComeInTheirOrder) {
  TempDir dir;
  FontSpec spec = SpecWithGlyph();
  spec.font_type = 8 | 2 | 16;
  auto f = LoadFont(dir, "T.fnt", BuildFont(spec));
  EXPECT_EQ(f->doc.Message().text, "Five Word FST Fonts Not Yet Supported");
  spec.font_type = 2 | 16;
  f = LoadFont(dir, "T.fnt", BuildFont(spec));
  EXPECT_EQ(f->doc.Message().text, "Kanji Fonts Not Yet Supported");
  spec.font_type = 16;
  f = LoadFont(dir, "T.fnt", BuildFont(spec));
  EXPECT_EQ(f->doc.Message().text, "Double-byte Fonts Not Yet Supported");
  // The header check comes before the type checks.
  spec.font_type = 8;
  spec.pitch = 'X';
  f = LoadFont(dir, "T.fnt", BuildFont(spec));
  EXPECT_EQ(f->doc.Message().text, "Invalid Font Header");
  spec.pitch = 'F';
  spec.orientation = 'Q';
  f = LoadFont(dir, "T.fnt", BuildFont(spec));
  EXPECT_EQ(f->doc.Message().text, "Invalid Font Header");
  // Type checks come before the Vellumtype check.
  spec.orientation = 'P';
  spec.spacing[0] = 0;
  f = LoadFont(dir, "T.fnt", BuildFont(spec));
  EXPECT_EQ(f->doc.Message().text, "Five Word FST Fonts Not Yet Supported");
}

TEST(FontDoc, RefusalIsShownWithBeepAndInformationIcon) {
  TempDir dir;
  FontSpec spec = SpecWithGlyph();
  spec.font_type = 2;
  WriteFileBytes(dir / "K.fnt", BuildFont(spec));
  ScriptedInteraction ui;
  CFontDoc doc;
  EXPECT_FALSE(doc.OnOpenDocument((dir / "K.fnt").string(), ui));
  ASSERT_EQ(ui.asks.size(), 1u);
  EXPECT_EQ(ui.asks[0].text, "Kanji Fonts Not Yet Supported");
  EXPECT_EQ(ui.asks[0].title, kAppTitle);
  EXPECT_EQ(ui.asks[0].icon, Icon::Information);
  EXPECT_EQ(ui.asks[0].buttons, Buttons::Ok);
  ASSERT_EQ(ui.beeps.size(), 1u);
}

TEST(FontDoc, DamagedFilesAreRefusedOrReadAsFarAsTheyGo) {
  TempDir dir;
  const std::string full = BuildFont(SpecWithGlyph());
  // Shorter than its header.
  auto shortHeader = LoadFont(dir, "S.fnt", full.substr(0, 300));
  EXPECT_FALSE(shortHeader->ok);
  EXPECT_EQ(shortHeader->doc.Message().text, "Invalid Font Header");
  auto empty = LoadFont(dir, "E.fnt", "");
  EXPECT_FALSE(empty->ok);
  // Ending inside the matrix: opens, the missing bytes read as blank.
  auto cut = LoadFont(dir, "C.fnt", full.substr(0, full.size() - 3));
  ASSERT_TRUE(cut->ok);
  EXPECT_TRUE(cut->doc.Truncated());
  EXPECT_EQ(cut->doc.Matrix().size(), 6u);
  EXPECT_EQ(cut->doc.Matrix()[4], 0);
  // Ending inside the FST: the missing entries stay zero.
  auto fst = LoadFont(dir, "D.fnt", full.substr(0, 512 + 100));
  ASSERT_TRUE(fst->ok);
  EXPECT_TRUE(fst->doc.Truncated());
  EXPECT_EQ(fst->doc.Entry(65).RowCount(), 0);
  CFontDoc missing;
  EXPECT_FALSE(missing.Load((dir / "none.fnt").string()));
  EXPECT_FALSE(missing.Message().text.empty());
}

TEST(FontDoc, PropertyTexts) {
  EXPECT_STREQ(OrientationText('J'), "Inverse Landscape");
  EXPECT_STREQ(PitchText('F'), "Fixed");
  EXPECT_STREQ(PitchText('P'), "Proportional");
  EXPECT_STREQ(FontTypeText(1), "EBDCIC");
  TempDir dir;
  FontSpec spec = DefaultFontSpec();
  spec.line_spacing = 300;
  auto a = LoadFont(dir, "A.fnt", BuildFont(spec));
  EXPECT_EQ(a->doc.SizeInPoints(), 72);
  std::vector<FontProperty> pane = FontProperties(a->doc);
  ASSERT_EQ(pane.size(), 8u);
  EXPECT_EQ(pane[0].value, "Landscape");
  EXPECT_EQ(pane[3].value, "72 point");
  EXPECT_EQ(pane[5].heading, (std::vector<std::string>{"Average", "Character Spacing"}));
  EXPECT_EQ(pane[5].value, "20 dots");
  EXPECT_EQ(pane[7].heading.back(), "Bottom of Cell");
  EXPECT_EQ(pane[7].value, "10 dots");
  spec.line_spacing = 100;
  a = LoadFont(dir, "A.fnt", BuildFont(spec));
  EXPECT_EQ(a->doc.SizeInPoints(), 24);
}

}  // namespace
}  // namespace kelvo::test
