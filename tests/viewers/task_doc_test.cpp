#include <gtest/gtest.h>

#include "support/test_support.h"
#include "viewers/task_doc.h"

namespace kelvo::test {
namespace {

// Offset, octal words, RADIX-50 triples and bytes; a blank line after every 32.
TEST(TaskDoc, LineLayoutAndRadixColumns) {
  const struct {
    std::string bytes;
    std::size_t line, lines;
    std::string text;
  } rows[] = {
      {std::string("\x01\x00\x02\x00", 4), 0, 1, "00000000: 000001 000002 |  A  B|    |"},
      // 64000 = 40 x 1600: an out-of-range first value shows as a space.
      {std::string("\x00\xFA", 2), 0, 1, "00000000: 175000 |   |  |"},
      // "BA" = 0x4241 = 041101 octal = 10*1600 + 24*40 + 1: "JXA".
      {"ABCDEFGHIJKLMNOP", 0, 1,
       "00000000: 041101 042103 043105 044107 045111 046113 047115 050117 "
       "|JXAJ65KI KVWK5QLHKLUEL39|ABCDEFGHIJKLMNOP|"},
      {std::string(16, 'a') + "x", 1, 2, "00000020: ||x|"},
      {std::string(513, '\0'), 33, 34, "00001000: ||" + std::string(" |")},
      {std::string(512, 'z'), 32, 33, " "},
      {"", 0, 0, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    CTaskDoc doc;
    doc.LoadBytes(r.bytes);
    EXPECT_EQ(doc.LineCount(), r.lines);
    EXPECT_EQ(doc.Line(r.line), r.text);
    EXPECT_EQ(doc.Line(r.lines), "");  // past the end
  }
  EXPECT_EQ(TaskRadixChar(27), '$');
  EXPECT_EQ(TaskRadixChar(29), ' ');
}

TEST(TaskDoc, LinesFromAFileMatchLinesFromMemoryAndFollowAShrinkingFile) {
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes.push_back(static_cast<char>(i * 7));
  WriteFileBytes(dir / "A.TSK", bytes);
  CTaskDoc file;
  ASSERT_TRUE(file.Load((dir / "A.TSK").string()));
  EXPECT_EQ(file.FileSize(), 3000u);
  CTaskDoc memory;
  memory.LoadBytes(bytes);
  ASSERT_EQ(file.LineCount(), memory.LineCount());
  for (std::size_t i = file.LineCount(); i-- > 0;) EXPECT_EQ(file.Line(i), memory.Line(i)) << i;
  // The file shrinks while open: lines are read from what is left.
  WriteFileBytes(dir / "A.TSK", std::string(20, 'k'));
  CTaskDoc second;
  ASSERT_TRUE(second.Load((dir / "A.TSK").string()));
  WriteFileBytes(dir / "A.TSK", std::string(4, 'k'));
  EXPECT_EQ(second.LineCount(), 2u);
  EXPECT_EQ(second.Line(1), "");
  // 0x6B6B = 27499 = 17 x 1600 + 7 x 40 + 19: "QGS".
  EXPECT_EQ(second.Line(0), "00000000: 065553 065553 |QGSQGS|kkkk|");
  EXPECT_FALSE(file.Load((dir / "missing.tsk").string()));
}

}  // namespace
}  // namespace kelvo::test
