// kdu cp, put and get end to end: emulated drives, image files, tapes.
#include <gtest/gtest.h>

#include "support/floppy_media.h"
#include "support/test_support.h"
#include "support/transfer_fixture.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

class KduCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "pc");
    fs::create_directories(dir / "out");
    WriteFileBytes(dir / "pc" / "JOB.JSL", "HELLO\r\nWORLD\r\n");
    WriteFileBytes(dir / "pc" / "LONGNAME.FNT", PatternText(3000, 1));
    WriteKelvoMedium(dir / "a.img", 5, "A");
    WriteKelvoMedium(dir / "b.img", 5, "B");
  }
  CommandResult Kdu(std::vector<std::string> args) {
    args.insert(args.begin(), {"--drive-a", "emu:" + (dir / "a.img").string(), "--drive-b",
                               "emu:" + (dir / "b.img").string()});
    return RunKdu(args);
  }
  std::string P(const std::string& name) const { return (dir / name).string(); }

  TempDir dir;
};

TEST_F(KduCopy, FloppyRoundTripAndFloppyToFloppy) {
  ASSERT_EQ(Kdu({"cp", P("pc"), "a:", "JOB.JSL", "LONGNAME.FNT"}).exit_code, 0);
  // Copied twice, the long name replaces its first copy.
  ASSERT_EQ(Kdu({"cp", P("pc"), "A:", "LONGNAME.FNT"}).exit_code, 0);
  ASSERT_EQ(Kdu({"cp", "a:", "b:", "LONGNA.FNT", "JOB.JSL"}).exit_code, 0);
  const CommandResult got = Kdu({"get", "b:", "LONGNA.FNT", "JOB.JSL", "-C", P("out")});
  ASSERT_EQ(got.exit_code, 0) << got.err;
  const std::vector<std::uint8_t> font = FileBytes(dir / "out" / "Longna.fnt");
  ASSERT_EQ(font.size(), 3072u);
  EXPECT_TRUE(std::equal(font.begin(), font.begin() + 3000, Bytes(PatternText(3000, 1)).begin()));
  EXPECT_EQ(ReadFileText(dir / "out" / "Job.jsl"),
            "HELLO" + std::string(69, ' ') + "000000\r\nWORLD" + std::string(69, ' ') +
                "000000\r\n");
}

TEST_F(KduCopy, AMissingNameFailsAfterTheFilesBeforeIt) {
  ASSERT_EQ(Kdu({"put", "a:", P("pc/JOB.JSL")}).exit_code, 0);
  const CommandResult got = Kdu({"get", "a:", "JOB.JSL", "NOPE.FNT", "-C", P("out")});
  EXPECT_EQ(got.exit_code, 1);
  EXPECT_NE(got.err.find("The system cannot find the specified file."), std::string::npos);
  EXPECT_TRUE(fs::exists(dir / "out" / "Job.jsl"));
}

TEST_F(KduCopy, AnImageIsSavedOnlyWhenTheTransferEndsWithoutError) {
  ASSERT_EQ(RunKdu({"new", P("d.kdi")}).exit_code, 0);
  ASSERT_EQ(Kdu({"put", P("d.kdi"), P("pc/JOB.JSL")}).exit_code, 0);
  const std::string before = ReadFileText(dir / "d.kdi");
  const CommandResult failed = Kdu({"put", P("d.kdi"), P("pc/LONGNAME.FNT"), P("pc/NONE.FNT")});
  EXPECT_EQ(failed.exit_code, 1);
  EXPECT_EQ(ReadFileText(dir / "d.kdi"), before);

  ASSERT_EQ(Kdu({"cp", P("pc"), P("d.kdi"), "LONGNAME.FNT"}).exit_code, 0);
  EXPECT_NE(ReadFileText(dir / "d.kdi"), before);
  const CommandResult got = Kdu({"cp", P("d.kdi"), P("out"), "LONGNA.FNT"});
  ASSERT_EQ(got.exit_code, 0) << got.err;
  EXPECT_EQ(fs::file_size(dir / "out" / "Longna.fnt"), 3072u);
}

TEST_F(KduCopy, TapeRoundTrip) {
  ASSERT_EQ(Kdu({"cp", P("pc"), P("t.tap"), "LONGNAME.FNT"}).exit_code, 0);
  const CommandResult got = Kdu({"--tape2", P("t.tap"), "cp", "Tape2", P("out"), "LONGNA.FNT"});
  ASSERT_EQ(got.exit_code, 0) << got.err;
  const std::vector<std::uint8_t> font = FileBytes(dir / "out" / "LONGNA.FNT");
  ASSERT_EQ(font.size(), 3072u);
  EXPECT_TRUE(std::equal(font.begin(), font.begin() + 3000, Bytes(PatternText(3000, 1)).begin()));
}

TEST_F(KduCopy, UnsupportedPairsAndUnknownPlaces) {
  const std::string before = ReadFileText(dir / "a.img");
  const CommandResult ni = Kdu({"cp", "a:", P("t.tap"), "JOB.JSL"});
  EXPECT_EQ(ni.exit_code, 0);
  EXPECT_NE(ni.err.find("Function Not Yet Implemented"), std::string::npos);
  EXPECT_EQ(ReadFileText(dir / "a.img"), before);
  EXPECT_EQ(Kdu({"cp", P("nowhere"), "a:", "JOB.JSL"}).exit_code, 2);
  EXPECT_EQ(Kdu({"put", P("out"), P("pc/JOB.JSL")}).exit_code, 1);
}

}  // namespace
}  // namespace kelvo::test
