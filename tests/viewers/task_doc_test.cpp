#include <gtest/gtest.h>

#include "support/test_support.h"
#include "viewers/task_doc.h"

namespace kelvo::test {
namespace {

CTaskDoc Dump(const std::string& bytes) {
  CTaskDoc doc;
  doc.LoadBytes(bytes);
  return doc;
}

TEST(TaskDoc, FirstLineShowsOffsetAndOctalWords) {
  CTaskDoc doc = Dump(std::string("\x01\x00\x02\x00", 4));
  ASSERT_EQ(doc.LineCount(), 1u);
  EXPECT_EQ(doc.Line(0), "00000000: 000001 000002 |  A  B|    |");
}

TEST(TaskDoc, WholeLineLayout) {
  std::string bytes = "ABCDEFGHIJKLMNOP";
  CTaskDoc doc = Dump(bytes);
  // "BA" = 0x4241 = 041101 octal = 16961 = 10*1600 + 24*40 + 1 -> J X A
  EXPECT_EQ(doc.Line(0).substr(0, 17), "00000000: 041101 ");
  EXPECT_EQ(doc.Line(0).substr(10 + 8 * 7, 1), "|");
  EXPECT_EQ(doc.Line(0).substr(10 + 8 * 7 + 1, 3), "JXA");
  EXPECT_EQ(doc.Line(0).substr(10 + 8 * 7 + 1 + 24), "|ABCDEFGHIJKLMNOP|");
  EXPECT_EQ(doc.Line(0).size(), 10u + 56 + 1 + 24 + 1 + 16 + 1);
}

TEST(TaskDoc, RadixColumns) {
  EXPECT_EQ(Dump(std::string("\x01\x00", 2)).Line(0), "00000000: 000001 |  A|  |");
  // 64000 = 40 x 1600: an out-of-range first value shows as a space.
  EXPECT_EQ(Dump(std::string("\x00\xFA", 2)).Line(0), "00000000: 175000 |   |  |");
  EXPECT_EQ(TaskRadixChar(27), '$');
  EXPECT_EQ(TaskRadixChar(29), ' ');
}

TEST(TaskDoc, SeventeenBytesGiveTwoLines) {
  CTaskDoc doc = Dump(std::string(16, 'a') + "x");
  ASSERT_EQ(doc.LineCount(), 2u);
  EXPECT_EQ(doc.Line(1), "00000020: ||x|");
  EXPECT_EQ(doc.Line(2), "");
}

TEST(TaskDoc, BlankLineAfterEvery32) {
  CTaskDoc doc = Dump(std::string(513, '\0'));
  ASSERT_EQ(doc.LineCount(), 32u + 1 + 1);
  EXPECT_EQ(doc.Line(31).substr(0, 10), "00000760: ");
  EXPECT_EQ(doc.Line(32), " ");
  EXPECT_EQ(doc.Line(33), "00001000: ||" + std::string(" |"));
  EXPECT_EQ(Dump(std::string(512, 'z')).LineCount(), 33u);
  EXPECT_EQ(Dump("").LineCount(), 0u);
}

TEST(TaskDoc, LoadsFromAFile) {
  TempDir dir;
  WriteFileBytes(dir / "RUN.TSK", std::string(40, 'k'));
  CTaskDoc doc;
  ASSERT_TRUE(doc.Load((dir / "RUN.TSK").string()));
  EXPECT_EQ(doc.FileSize(), 40u);
  EXPECT_EQ(doc.LineCount(), 3u);
  EXPECT_EQ(doc.Line(2), "00000040: 065553 065553 065553 065553 |QGSQGSQGSQGS|kkkkkkkk|");
  // 0x6B6B = 27499 = 17 x 1600 + 7 x 40 + 19: "QGS".
  // The file shrinks while open: lines are read from what is left.
  WriteFileBytes(dir / "RUN.TSK", std::string(20, 'k'));
  CTaskDoc second;
  ASSERT_TRUE(second.Load((dir / "RUN.TSK").string()));
  WriteFileBytes(dir / "RUN.TSK", std::string(4, 'k'));
  EXPECT_EQ(second.LineCount(), 2u);
  EXPECT_EQ(second.Line(1), "");
  EXPECT_EQ(second.Line(0), "00000000: 065553 065553 |QGSQGS|kkkk|");
  EXPECT_FALSE(doc.Load((dir / "missing.tsk").string()));
}

TEST(TaskDoc, LinesFromAFileMatchLinesFromMemory) {
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes.push_back(static_cast<char>(i * 7));
  WriteFileBytes(dir / "A.TSK", bytes);
  CTaskDoc file;
  ASSERT_TRUE(file.Load((dir / "A.TSK").string()));
  CTaskDoc memory = Dump(bytes);
  ASSERT_EQ(file.LineCount(), memory.LineCount());
  for (std::size_t i = file.LineCount(); i-- > 0;) EXPECT_EQ(file.Line(i), memory.Line(i)) << i;
}

}  // namespace
}  // namespace kelvo::test
