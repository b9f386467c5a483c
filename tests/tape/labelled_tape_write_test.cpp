#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "support/tape_fixture.h"

namespace kelvo::test {
namespace {

class LabelledWriteTest : public ::testing::Test, public TapeBench {};

std::string Shape(const std::vector<TapItem>& items) {
  std::string s;
  for (const TapItem& i : items) s += i.filemark ? "|" : std::to_string(i.data.size()) + " ";
  return s;
}

TEST_F(LabelledWriteTest, BinaryFileOnAFreshlyInitialisedTape) {
  Load(TapeImageBuilder().Filemark().Filemark());
  std::string data(8193, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  WriteFileBytes(dir / "REPORT.FNT", data);
  ASSERT_EQ(Write({"REPORT.FNT"}), 0u);
  auto items = Items();
  EXPECT_EQ(Shape(items), "128 8192 512 ||");
  EXPECT_EQ(items[0].data,
            MakeLabel({.name = "REPORT", .type = "FNT", .blocks = 17, .date = WordAt(items[0].data, 10)}));
  EXPECT_EQ(items[1].data + items[2].data, data + std::string(511, '\0'));
  EXPECT_EQ(progress.waited, 1);
  EXPECT_FALSE(busy);
}

TEST_F(LabelledWriteTest, AppendingKeepsExactlyTwoClosingFilemarks) {
  Load(TapeImageBuilder().Filemark().Filemark());
  WriteFileBytes(dir / "A.FNT", std::string(100, 'a'));
  WriteFileBytes(dir / "B.FNT", std::string(600, 'b'));
  ASSERT_EQ(Write({"A.FNT"}), 0u);
  ASSERT_EQ(Write({"B.FNT"}), 0u);
  EXPECT_EQ(Shape(Items()), "128 512 |128 1024 ||");
  ASSERT_EQ(Write({"A.FNT", "B.FNT"}), 0u);
  EXPECT_EQ(Shape(Items()), "128 512 |128 1024 |128 512 |128 1024 ||");
}

TEST_F(LabelledWriteTest, BlockCountBeyond65535UsesTheWideField) {
  const std::size_t size = 65536u * 512u + 1;
  {
    // A sparse file is enough: only its length matters here.
    WriteFileBytes(dir / "HUGE.IMG", "");
    ASSERT_EQ(truncate((dir / "HUGE.IMG").c_str(), static_cast<off_t>(size)), 0);
  }
  write_options.blocking_factor = 128;
  ASSERT_EQ(Write({"HUGE.IMG"}), 0u);
  auto items = Items();
  ASSERT_EQ(items.size(), 1u + 513u + 2u);
  EXPECT_EQ(WordAt(items[0].data, 6), 0u);
  EXPECT_EQ(Le32At(items[0].data, 30), 65537u);
  EXPECT_EQ(WordAt(items[0].data, 14), 0u);  // 65536 in 16 bits
  EXPECT_EQ(items[513].data.size(), 512u);
}

TEST_F(LabelledWriteTest, SourceFilesAreStoredAsDiskStoresStoreThem) {
  // A text behind a retained label is still converted, as on a disk; a text
  // holding a zero byte is kept as binary, since its records would come back
  // only up to that byte.
  WriteFileBytes(dir / "JOB.CMD", MakeLabel({.name = "JOB", .type = "CMD"}) + "LINE 1\r\nLINE 2\r\n");
  const std::string zero("ONE\r\n\0TWO\r\n", 11);
  WriteFileBytes(dir / "ZERO.CMD", zero);
  write_options.numbering = {10, 10};
  ASSERT_EQ(Write({"JOB.CMD", "ZERO.CMD"}), 0u);
  auto items = Items();
  ASSERT_EQ(Shape(items), "128 512 |128 512 ||");
  EXPECT_EQ(WordAt(items[0].data, 12), 80u);
  EXPECT_EQ(WordAt(items[0].data, 8), 160u);
  EXPECT_EQ(items[1].data.substr(80, 80), "LINE 2" + std::string(68, ' ') + "000020");
  EXPECT_EQ(WordAt(items[3].data, 12), 512u);
  EXPECT_EQ(items[4].data.substr(0, zero.size()), zero);
}

TEST_F(LabelledWriteTest, AbortStopsBetweenFilesAndClosesTheTape) {
  WriteFileBytes(dir / "A.FNT", "a");
  WriteFileBytes(dir / "B.FNT", "b");
  progress.on_step = [](RecordingTapeProgress& p) {
    if (p.files.size() == 1 && p.Progress() == 100) p.PressButton();
  };
  EXPECT_EQ(Write({"A.FNT", "B.FNT"}), 0u);
  EXPECT_EQ(Shape(Items()), "128 512 ||");
  EXPECT_EQ(progress.Status(), " Writing aborted.");
  EXPECT_FALSE(busy);
}

TEST_F(LabelledWriteTest, MissingFileEndsTheWriteWithItsError) {
  WriteFileBytes(dir / "A.FNT", "a");
  EXPECT_EQ(Write({"A.FNT", "NOPE.FNT"}), 2u);
  EXPECT_EQ(Shape(Items()), "128 512 |");
}

}  // namespace
}  // namespace kelvo::test
