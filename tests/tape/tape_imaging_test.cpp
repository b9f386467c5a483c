#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/tape_builder.h"
#include "support/test_support.h"
#include "tape/tap_image.h"
#include "tape/tape_imaging.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

class Progress : public CTapeImagingProgress {
 public:
  int updates = 0;
  int abort_after = -1;
  void Update(const TapeImagingReport&) override { ++updates; }
  bool AbortRequested() const override { return abort_after >= 0 && updates >= abort_after; }
};

class TapeImagingTest : public ::testing::Test {
 protected:
  TempDir dir;
  // Images the tape `source` into out.tap; returns the result code.
  ErrorCode Save(const TapeImageBuilder& source, Progress& progress, TapeImagingReport& report) {
    source.WriteTo(dir / "src.tap");
    CTapImage tape({(dir / "src.tap").string()});
    EXPECT_EQ(tape.Open(), 0u);
    return SaveTapeImage(tape, (dir / "out.tap").string(), progress, report);
  }
};

// Two filemarks in a row, an odd length, a damaged record and a record
// longer than the first read buffer all arrive as they are on the tape.
TEST_F(TapeImagingTest, SavesEveryRecordAndFilemarkUntilTheEndOfData) {
  TapeImageBuilder source;
  source.Record("HDR").Filemark().Filemark().Record("odd!!").Record("damaged", 8).Filemark()
      .Record(std::string(300000, 'L')).Filemark().Filemark();
  Progress progress;
  TapeImagingReport report;
  ASSERT_EQ(Save(source, progress, report), 0u);
  EXPECT_EQ(ReadFileText(dir / "out.tap"), source.Bytes());
  EXPECT_FALSE(fs::exists(dir / "out.tap.part"));
  EXPECT_EQ(report.records, 4u);
  EXPECT_EQ(report.filemarks, 5u);
  EXPECT_EQ(report.damaged, 1u);
  EXPECT_EQ(report.bytes, 3u + 5 + 7 + 300000);
  EXPECT_FALSE(report.aborted);
}

TEST_F(TapeImagingTest, AbortKeepsWhatWasReadAndUnreadableRunsEnd) {
  TapeImageBuilder source;
  source.Record("one").Filemark().Record("two").Filemark();
  Progress progress;
  progress.abort_after = 2;
  TapeImagingReport report;
  ASSERT_EQ(Save(source, progress, report), 0u);
  EXPECT_TRUE(report.aborted);
  EXPECT_EQ(ReadFileText(dir / "out.tap"), TapeImageBuilder().Record("one").Filemark().Bytes());

  // A tape that reads nothing but errors stops the run instead of going on.
  TapeImageBuilder bad;
  for (unsigned i = 0; i <= kImagingMaxDamagedRun; ++i) bad.Record("x", 8);
  Progress quiet;
  EXPECT_EQ(Save(bad, quiet, report), ERR_CRC);
  EXPECT_FALSE(fs::exists(dir / "out.tap.part"));
}

TEST_F(TapeImagingTest, WritesAnImageBackOntoATape) {
  TapeImageBuilder image;
  image.Record("first").Filemark().Filemark().Record("kept", 8).Record(std::string(4097, 'z'))
      .Filemark();
  image.WriteTo(dir / "image.tap");
  WriteFileBytes(dir / "blank.tap", "");
  CTapImage tape({(dir / "blank.tap").string()});
  ASSERT_EQ(tape.Open(), 0u);
  Progress progress;
  TapeImagingReport report;
  ASSERT_EQ(WriteTapeImage((dir / "image.tap").string(), tape, progress, report), 0u);
  tape.Close();
  // The damaged record goes onto the tape with the data the image holds.
  TapeImageBuilder expected;
  expected.Record("first").Filemark().Filemark().Record("kept").Record(std::string(4097, 'z'))
      .Filemark();
  EXPECT_EQ(ReadFileText(dir / "blank.tap"), expected.Bytes());
  EXPECT_EQ(report.records, 3u);
  EXPECT_EQ(report.filemarks, 3u);
  EXPECT_EQ(report.damaged, 1u);
}

}  // namespace
}  // namespace kelvo::test
