#include <gtest/gtest.h>

#include <string>

#include "support/tape_builder.h"
#include "tape/tape_label.h"

namespace kelvo::test {
namespace {

std::string Bytes(const TapeLabelBytes& b) { return std::string(b.begin(), b.end()); }

TEST(TapeLabel, EncodesEveryFieldByteForByte) {
  TapeFileLabel label;
  label.name = "report";
  label.type = "fnt";
  label.blocks = 17;
  label.last_block_bytes = 0;
  label.date = 34061;
  label.record_length = 512;
  label.block_size = 8192;
  const std::string b = Bytes(EncodeTapeLabel(label));
  LabelFields expected;
  expected.name = "REPORT";
  expected.type = "FNT";
  expected.blocks = 17;
  expected.date = 34061;
  EXPECT_EQ(b, MakeLabel(expected));
  EXPECT_EQ(Le16At(b, 6), 17u);
  EXPECT_EQ(b.substr(18, 6), "REPORT");
  EXPECT_EQ(b.substr(27, 3), "FNT");
  EXPECT_EQ(b[127], '*');
}

TEST(TapeLabel, BlockCountsBeyond16Bits) {
  TapeFileLabel big;
  big.name = "BIG";
  big.type = "IMG";
  big.blocks = 65537;
  const TapeLabelBytes b = EncodeTapeLabel(big);
  EXPECT_EQ(Le16At(Bytes(b), 6), 0u);
  EXPECT_EQ(Le32At(Bytes(b), 30), 65537u);
  EXPECT_EQ(LabelBlockCount(b.data()), 65537u);
  big.blocks = 65535;
  const TapeLabelBytes c = EncodeTapeLabel(big);
  EXPECT_EQ(Le16At(Bytes(c), 6), 65535u);
  EXPECT_EQ(Le32At(Bytes(c), 30), 0u);
  EXPECT_EQ(LabelBlockCount(c.data()), 65535u);
}

TEST(TapeLabel, NamesFromRadixWordsWhenTheTextIsEmpty) {
  LabelFields f;
  f.name = "LOGO1";
  f.type = "IMG";
  f.ascii = false;
  const std::string label = MakeLabel(f);
  TapeLabelName n = LabelFileName(reinterpret_cast<const std::uint8_t*>(label.data()));
  EXPECT_EQ(n.name, "LOGO1.IMG");
  EXPECT_EQ(n.type, "IMG");

  f.ascii = true;
  f.name = "lower";
  const std::string ascii = MakeLabel(f);
  EXPECT_EQ(LabelFileName(reinterpret_cast<const std::uint8_t*>(ascii.data())).name, "LOWER.IMG");
}

TEST(TapeLabel, Dates) {
  EXPECT_EQ(EncodeTapeDate(2004, 3, 1), 34061);
  EXPECT_EQ(EncodeTapeDate(2003, 3, 1), 33060);
  EXPECT_EQ(EncodeTapeDate(1970, 1, 1), 1);
  EXPECT_EQ(EncodeTapeDate(2000, 12, 31), 30366);
}

TEST(TapeLabel, MatchFileSpec) {
  EXPECT_TRUE(MatchFileSpec("ABC.CMD", "A?C.*"));
  EXPECT_FALSE(MatchFileSpec("ABC.CMD", "ABC"));
  EXPECT_FALSE(MatchFileSpec("ABC.CMD", "ABC.C?D"));
  EXPECT_TRUE(MatchFileSpec("ABC.CMD", "*.cmd"));
  EXPECT_TRUE(MatchFileSpec("abc.cmd", "ABC.CMD"));
  EXPECT_FALSE(MatchFileSpec("ABC.CMD", "*.FNT"));
  EXPECT_TRUE(MatchFileSpec("ABC.CMD", "*.*"));
  EXPECT_FALSE(MatchFileSpec("ABCD.CMD", "ABC.CMD"));
  EXPECT_TRUE(MatchFileSpec("ABCD.CMD", "AB*.C*"));
}

TEST(TapeLabel, SourceLabels) {
  LabelFields f;
  f.record_length = 80;
  f.last_block_bytes = 160;
  auto check = [&f](const std::string& name) {
    const std::string l = MakeLabel(f);
    return IsSourceLabel(name, reinterpret_cast<const std::uint8_t*>(l.data()));
  };
  EXPECT_TRUE(check("A.CMD"));
  EXPECT_TRUE(check("A.pch"));
  EXPECT_TRUE(check("A.LIB"));
  EXPECT_FALSE(check("A.FNT"));
  f.last_block_bytes = 512;
  EXPECT_FALSE(check("A.LIB"));
  EXPECT_TRUE(check("A.JSL"));
  // A binary LIB or TMP (record length 512, last-block count 0) is never text.
  f.record_length = 512;
  f.last_block_bytes = 0;
  EXPECT_FALSE(check("A.LIB"));
  EXPECT_FALSE(check("A.TMP"));
  EXPECT_FALSE(check("A.CMD"));
}

TEST(TapeLabel, EndOfFilesName) { EXPECT_TRUE(IsEndOfFilesName("endfil.End")); }

}  // namespace
}  // namespace kelvo::test
