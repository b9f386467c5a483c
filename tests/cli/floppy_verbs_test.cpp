#include <gtest/gtest.h>

#include <filesystem>

#include "support/floppy_media.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

std::string Emu(const TempDir& dir, const std::string& name, const std::string& options = "") {
  return "emu:" + (dir / name).string() + options;
}

TEST(FloppyVerbs, FormatLabelAndCopyDisk) {
  TempDir dir;
  CommandResult f = RunKdu({"--drive-a", Emu(dir, "a.img"), "format", "a:", "--capacity", "1.2M",
                            "--id", "FIRST"});
  ASSERT_EQ(f.exit_code, 0) << f.err;
  EXPECT_EQ(f.out, "Drive formatted successfully (1.2M)\n");
  auto bytes = ReadBytes(dir / "a.img");
  ASSERT_EQ(bytes.size(), 1228800u);
  EXPECT_EQ(WordAt(bytes, 512 + 2), 2339);

  CommandResult l = RunKdu({"label", "a:", "SECOND", "--drive-a", Emu(dir, "a.img")});
  ASSERT_EQ(l.exit_code, 0) << l.err;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ReadBytes(dir / "a.img").data()) + 580),
            "SECOND");

  CommandResult c = RunKdu({"--drive-a", Emu(dir, "a.img"), "copydisk", "a:",
                            (dir / "copy.kdi").string()});
  ASSERT_EQ(c.exit_code, 0) << c.err;
  EXPECT_EQ(std::filesystem::file_size(dir / "copy.kdi"), 1198080u);

  // Back to a blank 5.25-inch drive: the question is answered No when
  // nobody is there to answer, Yes with --yes.
  CommandResult no = RunKdu({"--drive-b", Emu(dir, "b.img", ",form=5.25"), "copydisk",
                             (dir / "copy.kdi").string(), "b:"});
  EXPECT_EQ(no.exit_code, 1);
  EXPECT_NE(no.err.find("The media types for the source and destination do not match."),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "b.img"));
  CommandResult yes = RunKdu({"--yes", "--drive-b", Emu(dir, "b.img", ",form=5.25"), "copydisk",
                              (dir / "copy.kdi").string(), "b:"});
  ASSERT_EQ(yes.exit_code, 0) << yes.err;
  EXPECT_EQ(std::filesystem::file_size(dir / "b.img"), 1228800u);
}

TEST(FloppyVerbs, QuickFormatFollowsTheDisk) {
  TempDir dir;
  WriteKelvoMedium(dir / "a.img", 17);
  CommandResult q = RunKdu({"--drive-a", Emu(dir, "a.img"), "format", "a:", "--capacity", "720K",
                            "--quick"});
  ASSERT_EQ(q.exit_code, 0) << q.err;
  EXPECT_EQ(q.out, "Drive formatted successfully (1.2M)\n");

  // An unformatted disk is not quick-formatted unattended.
  CommandResult blank = RunKdu({"--drive-a", Emu(dir, "blank.img"), "format", "a:",
                                "--capacity", "720K", "--quick"});
  EXPECT_EQ(blank.exit_code, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "blank.img"));
}

TEST(FloppyVerbs, FailuresAndUsageErrors) {
  TempDir dir;
  WriteKelvoMedium(dir / "a.img", 5);
  CommandResult wp = RunKdu({"--drive-a", Emu(dir, "a.img", ",wp"), "label", "a:", "X"});
  EXPECT_EQ(wp.exit_code, 1);
  EXPECT_NE(wp.err.find("The media is write protected."), std::string::npos);

  CommandResult cap = RunKdu({"--drive-a", Emu(dir, "a.img"), "format", "a:", "--capacity", "1.44M"});
  EXPECT_EQ(cap.exit_code, 2);
  CommandResult notdrive = RunKdu({"label", "c:", "X"});
  EXPECT_EQ(notdrive.exit_code, 1);
  CommandResult bademu = RunKdu({"--drive-a", "emu:", "label", "a:", "X"});
  EXPECT_EQ(bademu.exit_code, 1);
  CommandResult notkelvo = RunKdu({"--drive-a", Emu(dir, "none.img"), "copydisk", "a:",
                                   (dir / "x.kdi").string()});
  EXPECT_EQ(notkelvo.exit_code, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.kdi"));
}

}  // namespace
}  // namespace kelvo::test

namespace kelvo::test {
namespace {

TEST(FloppyVerbs, DrivesFormatsShowsWhatEachDriveSupports) {
  TempDir dir;
  CommandResult r = RunKdu({"--drive-a", "emu:" + (dir / "a.img").string(), "--drive-b",
                            "emu:" + (dir / "b.img").string() + ",form=5.25", "drives",
                            "--formats"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "FORMAT           A:  B:\n"
            "3.5-inch 720k    yes -\n"
            "3.5-inch 1.2Mb   yes -\n"
            "5.25-inch 720k   -   yes\n"
            "5.25-inch 1.2Mb  -   yes\n");
  // Without --formats the device table is shown as before.
  CommandResult table = RunKdu({"--drive-a", "emu:" + (dir / "a.img").string(), "drives"});
  EXPECT_EQ(table.out.rfind("DRIVE", 0), 0u);
}

}  // namespace
}  // namespace kelvo::test
