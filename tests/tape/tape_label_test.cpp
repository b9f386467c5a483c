#include <gtest/gtest.h>

#include <string>

#include "support/tape_builder.h"
#include "tape/tape_label.h"

namespace kelvo::test {
namespace {

const std::uint8_t* U8(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

// Against labels built here from the format: names upper-cased, block counts
// past 16 bits in the wide field only.
TEST(TapeLabel, EncodesAndReadsEveryField) {
  for (std::uint32_t blocks : {17u, 65535u, 65537u}) {
    SCOPED_TRACE(blocks);
    const TapeLabelBytes b = EncodeTapeLabel({.name = "report", .type = "fnt", .blocks = blocks,
                                              .last_block_bytes = 160, .date = 34061, .record_length = 80});
    const std::string made = MakeLabel({.name = "REPORT", .type = "FNT", .blocks = blocks,
                                        .last_block_bytes = 160, .date = 34061, .record_length = 80});
    EXPECT_EQ(std::string(b.begin(), b.end()), made);
    EXPECT_EQ(LabelBlockCount(U8(made)), blocks);
    EXPECT_EQ(LabelRecordLength(U8(made)), 80u);
    EXPECT_EQ(LabelLastBlockBytes(U8(made)), 160u);
  }
}

TEST(TapeLabel, NamesFromRadixWordsWhenTheTextIsEmpty) {
  LabelFields f{.name = "LOGO1", .type = "IMG", .ascii = false};
  EXPECT_EQ(LabelFileName(U8(MakeLabel(f))).name, "LOGO1.IMG");
  f.ascii = true;
  f.name = "lower";
  EXPECT_EQ(LabelFileName(U8(MakeLabel(f))).name, "LOWER.IMG");
}

TEST(TapeLabel, DatesAndFileSpecifications) {
  EXPECT_EQ(EncodeTapeDate(2004, 3, 1), 34061);  // after a leap day
  EXPECT_EQ(EncodeTapeDate(2003, 3, 1), 33060);
  EXPECT_EQ(EncodeTapeDate(2000, 12, 31), 30366);
  struct Case {
    const char* name;
    const char* spec;
    bool match;
  } const cases[] = {
      {"ABC.CMD", "A?C.*", true},  {"ABC.CMD", "ABC", false},    {"ABC.CMD", "ABC.C?D", false},
      {"abc.cmd", "ABC.CMD", true}, {"ABCD.CMD", "ABC.CMD", false}, {"ABCD.CMD", "AB*.C*", true},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchFileSpec(c.name, c.spec), c.match) << c.name << " " << c.spec;
}

TEST(TapeLabel, SourceLabels) {
  struct Case {
    const char* name;
    std::uint16_t record_length;
    std::uint16_t last_block_bytes;
    bool source;
  } const cases[] = {
      {"A.CMD", 80, 160, true},  {"A.pch", 80, 160, true},  {"A.LIB", 80, 160, true},
      {"A.FNT", 80, 160, false}, {"A.LIB", 80, 512, false}, {"A.JSL", 80, 512, true},
      {"A.TMP", 512, 0, false},  {"A.CMD", 512, 0, false},
  };
  for (const Case& c : cases) {
    const std::string label = MakeLabel(
        {.name = "", .type = "", .last_block_bytes = c.last_block_bytes, .record_length = c.record_length});
    EXPECT_EQ(IsSourceLabel(c.name, U8(label)), c.source) << c.name << " " << c.record_length;
  }
}

}  // namespace
}  // namespace kelvo::test
