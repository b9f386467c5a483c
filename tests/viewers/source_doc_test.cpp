#include <gtest/gtest.h>

#include "support/filetypes_records.h"
#include "viewers/source_colours.h"
#include "viewers/source_doc.h"

namespace kelvo::test {
namespace {

using C = SourceClass;

std::string Blocks(const std::vector<std::string>& records) { return Text(RecordBlocks(records, false)); }

// Loading a source file by its path: kdu show's test.
TEST(SourceDoc, ExtensionsChooseTheTypeIgnoringCase) {
  EXPECT_EQ(SourceTypeOfPath("a.Fsl"), kSourceFormSource);
  EXPECT_EQ(SourceTypeOfPath("a.txt"), -1);
  EXPECT_EQ(SourceTypeOfPath("dir.pch/file"), -1);
}

TEST(SourceDoc, RecordsSixToABlock) {
  std::vector<std::string> recs;
  for (int i = 0; i < 12; ++i) recs.push_back(SourceRecord("LINE " + std::to_string(i), (i + 1) * 10));
  CSourceDoc doc;
  doc.LoadBytes(Blocks(recs), kSourceFormSource);
  EXPECT_TRUE(doc.IsRecords());
  ASSERT_EQ(doc.LineCount(), 12u);
  EXPECT_EQ(doc.Line(11), recs[11]);
}

TEST(SourceDoc, ZeroByteEndsItsBlockOnlyAndPartialRecordsAreLeftOut) {
  std::vector<std::string> recs;
  for (int i = 0; i < 12; ++i) recs.push_back(SourceRecord("R" + std::to_string(i), i));
  recs[2][5] = '\0';
  CSourceDoc doc;
  doc.LoadBytes(Blocks(recs), kSourcePatch);
  ASSERT_EQ(doc.LineCount(), 2u + 6u);
  EXPECT_EQ(doc.Line(2), recs[6]);
  doc.LoadBytes(SourceRecord("A", 1) + SourceRecord("B", 2) + std::string(50, 'C'), kSourcePatch);
  EXPECT_EQ(doc.LineCount(), 2u);
}

TEST(SourceDoc, LongFirstLineWithoutLineFeedIsReadAsRecordsElseLines) {
  std::string text = std::string(90, 'x') + "\nshort\n";
  CSourceDoc doc;
  doc.LoadBytes(text, kSourceJobSource);
  EXPECT_TRUE(doc.IsRecords());
  EXPECT_EQ(doc.LineCount(), 1u);  // one whole record of 80 bytes in 97
  doc.LoadBytes(std::string(81, 'y') + "\nz", kSourceJobSource);
  EXPECT_FALSE(doc.IsRecords());  // the line feed is byte 82
  ASSERT_EQ(doc.LineCount(), 2u);
  EXPECT_EQ(doc.Line(1), "z");
  // Text lines lose their line ends.
  doc.LoadBytes("first\r\nsecond\n\nlast", kSourcePatch);
  ASSERT_EQ(doc.LineCount(), 4u);
  EXPECT_EQ(doc.Line(0), "first");
  EXPECT_EQ(doc.Line(2), "");
  EXPECT_EQ(doc.Line(3), "last");
  EXPECT_EQ(doc.Line(4), "");
  doc.LoadBytes("", kSourcePatch);
  EXPECT_EQ(doc.LineCount(), 0u);
}

std::vector<C> Expect(std::initializer_list<std::pair<int, C>> runs) {
  std::vector<C> out;
  for (const auto& [n, c] : runs) out.insert(out.end(), static_cast<std::size_t>(n), c);
  return out;
}

TEST(SourceColours, ClassesByFileType) {
  const struct {
    const char* line;
    int type;
    std::vector<C> classes;
  } rows[] = {
      // A patch: label, operand and remark; a colon inside the remark marks
      // the label only up to the remark; slashes are no comment.
      {"LOOP: MOV R0 ;count", kSourcePatch, Expect({{5, C::kLabel}, {8, C::kNormal}, {6, C::kComment}})},
      {"AB;x:y", kSourcePatch, Expect({{2, C::kLabel}, {4, C::kComment}})},
      {"/* a */", kSourcePatch, Expect({{7, C::kNormal}})},
      // A command file: dot and star lines, no labels or semicolon comments.
      {".SET A:B", kSourceCommandFile, Expect({{8, C::kDotCommand}})},
      {"* note: x", kSourceCommandFile, Expect({{9, C::kComment}})},
      {"RUN A:B ;x", kSourceCommandFile, Expect({{10, C::kNormal}})},
      {"RUN /* go */ X", kSourceCommandFile, Expect({{4, C::kNormal}, {8, C::kBlockComment}, {2, C::kNormal}})},
      // Block comments need a closing at least three on.
      {"A/**/B", kSourceJobSource, Expect({{1, C::kNormal}, {4, C::kBlockComment}, {1, C::kNormal}})},
      {"A/*/B", kSourceJobSource, Expect({{5, C::kNormal}})},
      {"/* open", kSourceFormSource, Expect({{7, C::kNormal}})},
      {"/*a*/b/*c*/", kSourceFormSource, Expect({{5, C::kBlockComment}, {1, C::kNormal}, {5, C::kBlockComment}})},
  };
  for (const auto& r : rows) EXPECT_EQ(ClassifySourceLine(r.line, r.type), r.classes) << r.line;
  // A block comment overrides a label; the sequence area overrides everything.
  std::string line = "L/*x*/:" + std::string(70, ' ') + "/*z*/";
  std::vector<C> cls = ClassifySourceLine(line, kSourceJobSource);
  EXPECT_EQ(cls[0], C::kLabel);
  EXPECT_EQ(cls[1], C::kBlockComment);
  EXPECT_EQ(cls[6], C::kLabel);
  EXPECT_EQ(cls[71], C::kNormal);
  EXPECT_EQ(cls[72], C::kSequence);
  EXPECT_EQ(cls[77], C::kSequence);
}

TEST(SourceColours, DisplayCellsExpandTabs) {
  std::vector<SourceCell> cells = SourceDisplayCells("A\tB;c\n", kSourcePatch);
  ASSERT_EQ(cells.size(), 8u + 4u);
  EXPECT_EQ(cells[0].ch, 'A');
  EXPECT_EQ(cells[7].ch, ' ');
  EXPECT_EQ(cells[8].ch, 'B');
  EXPECT_EQ(cells[9].cls, C::kComment);
  EXPECT_EQ(cells[11].ch, ' ');  // a line feed shows as a space
}

}  // namespace
}  // namespace kelvo::test
