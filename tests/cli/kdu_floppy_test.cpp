// kdu on emulated floppy drives: the file verbs, cp between places, format,
// label and copydisk (the copies themselves are tested in transfer/ and
// diskfs/; here the verbs, their options and their exit status).
#include <gtest/gtest.h>

#include "support/floppy_media.h"
#include "support/test_support.h"
#include "support/transfer_fixture.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

struct KduFloppy : ::testing::Test {
  TempDir dir;
  std::string P(const std::string& name) const { return (dir / name).string(); }
  std::string Emu(const std::string& name, const std::string& options = "") const {
    return "emu:" + P(name) + options;
  }
  // kdu with A: and B: bound to emulated drives.
  CommandResult Kdu(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--drive-a", Emu("a.img"), "--drive-b", Emu("b.img")});
    return RunKdu(args);
  }
};

TEST_F(KduFloppy, FileVerbsAndCopiesBetweenPlaces) {
  WriteKelvoMedium(dir / "a.img", 5, "A");
  WriteKelvoMedium(dir / "b.img", 5, "B");
  fs::create_directories(dir / "pc");
  fs::create_directories(dir / "out");
  WriteFileBytes(dir / "pc/JOB.JSL", "HELLO\r\nWORLD\r\n");
  WriteFileBytes(dir / "pc/LONGNAME.FNT", SeededBytes(3000, 1));
  ASSERT_EQ(Kdu({"cp", P("pc"), "a:", "JOB.JSL"}).exit_code, 0);
  ASSERT_EQ(Kdu({"put", "A:", P("pc/LONGNAME.FNT")}).exit_code, 0);
  const std::string ls = Kdu({"ls", "a:"}).out;
  EXPECT_NE(ls.find("Longna.fnt"), std::string::npos) << ls;
  ASSERT_EQ(Kdu({"cp", "a:", "b:", "LONGNA.FNT", "JOB.JSL"}).exit_code, 0);
  ASSERT_EQ(Kdu({"mv", "b:", "LONGNA.FNT", "AB.FNT"}).exit_code, 0);
  ASSERT_EQ(Kdu({"rm", "b:", "JOB.JSL"}).exit_code, 0);
  const CommandResult got = Kdu({"get", "b:", "AB.FNT", "JOB.JSL", "-C", P("out")});
  EXPECT_EQ(got.exit_code, 1);  // the missing name fails the run after the file before it
  EXPECT_NE(got.err.find("JOB.JSL: The system cannot find the specified file."), std::string::npos);
  EXPECT_EQ(fs::file_size(dir / "out/Ab.fnt"), 3072u);

  // A tape by file name and by a bound drive name (which pairs of places
  // copy is the dispatch table's test in transfer/).
  ASSERT_EQ(Kdu({"cp", P("pc"), P("t.tap"), "JOB.JSL"}).exit_code, 0);
  ASSERT_EQ(Kdu({"--tape2", P("t.tap"), "cp", "Tape2", P("out"), "JOB.JSL"}).exit_code, 0);
  EXPECT_TRUE(fs::exists(dir / "out/JOB.JSL"));
  EXPECT_EQ(Kdu({"put", P("out"), P("pc/JOB.JSL")}).exit_code, 1);
}

TEST_F(KduFloppy, FormatLabelAndCopyDisk) {
  const CommandResult f = Kdu({"format", "a:", "--capacity", "1.2M", "--id", "FIRST"});
  ASSERT_EQ(f.exit_code, 0) << f.err;
  EXPECT_EQ(f.out, "Drive formatted successfully (1.2M)\n");
  ASSERT_EQ(RunKdu({"label", "a:", "SECOND", "--drive-a", Emu("a.img")}).exit_code, 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ReadBytes(dir / "a.img").data()) + 580), "SECOND");
  ASSERT_EQ(Kdu({"copydisk", "a:", P("copy.kdi")}).exit_code, 0);

  // Onto a blank 5.25-inch drive the media question is answered No when
  // nobody is there to answer, Yes with --yes.
  const std::vector<std::string> to_b = {"--drive-b", Emu("b.img", ",form=5.25"), "copydisk", P("copy.kdi"), "b:"};
  const CommandResult no = RunKdu(to_b);
  EXPECT_EQ(no.exit_code, 1);
  EXPECT_NE(no.err.find("The media types for the source and destination do not match."), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "b.img"));
  std::vector<std::string> yes = to_b;
  yes.insert(yes.begin(), "--yes");
  ASSERT_EQ(RunKdu(yes).exit_code, 0);
  EXPECT_EQ(fs::file_size(dir / "b.img"), 1228800u);
}

TEST_F(KduFloppy, DeviceFailuresExitWith1) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"label", "c:", "X"},
        {"--drive-a", "emu:", "label", "a:", "X"},
        {"--drive-b", Emu("none.img"), "ls", "b:"},
        {"--drive-a", Emu("none.img"), "copydisk", "a:", P("x.kdi")}}) {
    EXPECT_EQ(RunKdu(args).exit_code, 1) << args[0] << " " << args[1];
  }
  EXPECT_FALSE(fs::exists(dir / "x.kdi"));
}

}  // namespace
}  // namespace kelvo::test
