// kdu tape restore --qva, end to end.
#include <gtest/gtest.h>

#include "support/qva_tape_builder.h"
#include "support/test_support.h"

namespace kelvo {
namespace {

using test::QvaFile;
using test::QvaTapeBuilder;
using test::QvaUnit;

struct CliTape {
  test::TempDir dir;
  std::vector<std::string> volumes;
  std::string out = (dir / "out").string();

  CliTape() {
    QvaUnit u;
    u.types = {{"$Y$", {QvaFile{"BITMAP", std::string(512, '\1'), 512, 0}}},
               {"CMD", {test::QvaSourceFile("JOB", {"FIRST LINE", "SECOND LINE"})}},
               {"FNT", {QvaFile{"REPORT", std::string(4096, 'r'), 512, 0},
                        QvaFile{"TITLE", std::string(2048, 't'), 512, 0}}}};
    QvaTapeBuilder tape(1024);
    tape.BreakVolumeAfter(8).Start().Unit(u);
    volumes = tape.WriteVolumes(dir.path());
    std::filesystem::create_directory(out);
  }
  std::string Set() const { return test::JoinVolumes(volumes); }
};

TEST(QvaCli, RestoresAMultiVolumeSetWithYes) {
  CliTape t;
  ASSERT_EQ(t.volumes.size(), 2u);
  test::CommandResult r = test::RunKdu(
      {"tape", "restore", t.Set(), "--qva", "-C", t.out, "--remove-line-numbers", "--yes"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("Mount QVA Volume 2."), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("4 file(s) restored"), std::string::npos) << r.out;
  EXPECT_EQ(test::ReadFileText(t.dir / "out" / "JOB.CMD"), "FIRST LINE\r\nSECOND LINE\r\n");
  EXPECT_EQ(test::ReadFileText(t.dir / "out" / "TITLE.FNT"), std::string(2048, 't'));
}

TEST(QvaCli, MatchTypeFoldersAndUserFilesOnly) {
  CliTape t;
  test::CommandResult r =
      test::RunKdu({"tape", "restore", t.Set(), "--qva", "--match", "*.*", "-C", t.out,
                    "--type-dirs", "--user-files-only", "--yes"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(t.dir / "out" / "FNT" / "REPORT.FNT"));
  EXPECT_FALSE(std::filesystem::exists(t.dir / "out" / "$Y$"));

  CliTape one;
  r = test::RunKdu({"tape", "restore", one.Set(), "--qva", "report.fnt", "-C", one.out, "--yes"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("1 file(s) restored"), std::string::npos);
}

TEST(QvaCli, UnansweredVolumePromptCancels) {
  CliTape t;
  test::CommandResult r = test::RunKdu({"tape", "restore", t.Set(), "--qva", "-C", t.out});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("Tape restore cancelled at user's request."), std::string::npos) << r.err;
}

TEST(QvaCli, BadInputIsRefused) {
  CliTape t;
  test::CommandResult r =
      test::RunKdu({"tape", "restore", t.Set(), "--qva", "--match", "ABC-1.CMD", "-C", t.out});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("Invalid character specified."), std::string::npos) << r.err;
  r = test::RunKdu({"tape", "restore", t.Set(), "--qva", "-C", (t.dir / "none").string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("The system cannot find the path specified."), std::string::npos);
  // A labelled tape is not a QVA volume.
  test::WriteFileBytes(t.dir / "plain.tap", std::string("\x80\0\0\0", 4) + std::string(128, 'L') +
                                                 std::string("\x80\0\0\0", 4));
  r = test::RunKdu({"tape", "restore", (t.dir / "plain.tap").string(), "--qva", "-C", t.out});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("This is not a valid QVA Volume"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kelvo
