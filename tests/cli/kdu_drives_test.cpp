#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const char* const kDriverWarning =
    "Floppy driver not loaded! Some functions will not be available.";

json Drives(const CommandResult& r) {
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return json::parse(r.out);
}

const json& Entry(const json& j, const std::string& name) {
  for (const json& d : j["drives"])
    if (d["name"] == name) return d;
  ADD_FAILURE() << "no entry " << name;
  static const json kNone;
  return kNone;
}

void WriteIni(const fs::path& home, const std::string& body) {
  fs::create_directories(home / "config/Kelvo");
  WriteFileBytes(home / "config/Kelvo/Kelvo Disk Utility.ini", "[Settings]\n" + body);
}

TEST(KduDrives, NoTapeWithoutABoundTapeDevice) {
  if (fs::exists("/dev/nst0")) GTEST_SKIP() << "this machine has a tape drive";
  const json j = Drives(RunKdu({"drives", "--json"}));
  EXPECT_FALSE(j["any_tape_present"].get<bool>());
  ASSERT_EQ(j["drives"].size(), 6u);
  for (int n = 0; n < 4; ++n) {
    const json& t = Entry(j, "Tape" + std::to_string(n));
    EXPECT_FALSE(t["present"].get<bool>());
    EXPECT_EQ(t["index"], 26 + n);
    EXPECT_EQ(t["type"], 7);
    EXPECT_EQ(t["device"], "/dev/nst" + std::to_string(n));
  }
  EXPECT_EQ(Entry(j, "A:")["device"], "/dev/fd0");
}

TEST(KduDrives, TapeOptionBindsAnExistingTapeImage) {
  TempDir dir;
  WriteFileBytes(dir / "some.tap", "");
  const std::string tap = (dir / "some.tap").string();
  json j = Drives(RunKdu({"drives", "--json", "--tape0", tap}));
  EXPECT_TRUE(j["any_tape_present"].get<bool>());
  EXPECT_TRUE(Entry(j, "Tape0")["present"].get<bool>());
  EXPECT_EQ(Entry(j, "Tape0")["display_name"], "Tape0");
  EXPECT_EQ(Entry(j, "Tape0")["device"], tap);

  // Options may come before the verb too.
  j = Drives(RunKdu({"--tape3", tap, "drives", "--json"}));
  EXPECT_TRUE(Entry(j, "Tape3")["present"].get<bool>());

  j = Drives(RunKdu({"drives", "--json", "--tape1", (dir / "missing.tap").string()}));
  EXPECT_FALSE(Entry(j, "Tape1")["present"].get<bool>());
}

TEST(KduDrives, TextTableShowsEachDrive) {
  TempDir dir;
  WriteFileBytes(dir / "some.tap", "");
  const CommandResult r = RunKdu({"drives", "--tape0", (dir / "some.tap").string(), "--drive-a",
                                  "emu:" + (dir / "a.img").string() + ",form=5.25"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("A:     yes      floppy  5.25  5\u00bc Floppy (A:)"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("Tape0  yes      tape"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Tape1  no       tape"), std::string::npos) << r.out;
  // An emulated drive does not need the floppy driver.
  EXPECT_EQ(r.err.find(kDriverWarning), std::string::npos);
}

TEST(KduDrives, MissingFloppyDriverIsReported) {
  TempDir dir;
  const bool driver = fs::exists("/dev/fd0") || fs::exists("/sys/module/floppy");
  const CommandResult r = RunKdu({"drives", "--drive-a", (dir / "fd0").string(), "--drive-b",
                                  (dir / "fd1").string()});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err.find(kDriverWarning) != std::string::npos, !driver) << r.err;
  const json j = Drives(RunKdu({"drives", "--json", "--drive-b", "emu:" + (dir / "b").string()}));
  EXPECT_TRUE(j["format_driver_present"].get<bool>());
  EXPECT_TRUE(Entry(j, "B:")["present"].get<bool>());
}

TEST(KduDrives, StoredBindingsAreUsedAndOverridesAreNotSaved) {
  TempDir home;
  WriteFileBytes(home / "stored.tap", "");
  WriteFileBytes(home / "other.tap", "");
  const std::string ini = "Tape2 Device=" + (home / "stored.tap").string() +
                          "\nFloppy B Device=emu:" + (home / "b.img").string() + ",form=5.25\n";
  WriteIni(home.path(), ini);
  const fs::path ini_path = home / "config/Kelvo/Kelvo Disk Utility.ini";
  const std::string before = ReadFileText(ini_path);

  json j = Drives(RunKduIn(home.path(), {"drives", "--json"}));
  EXPECT_TRUE(Entry(j, "Tape2")["present"].get<bool>());
  EXPECT_EQ(Entry(j, "B:")["drive_form"], 1);

  j = Drives(RunKduIn(home.path(), {"drives", "--json", "--tape2", (home / "gone.tap").string()}));
  EXPECT_FALSE(Entry(j, "Tape2")["present"].get<bool>());
  EXPECT_EQ(ReadFileText(ini_path), before);
}

TEST(KduDrives, FirstRunWritesNoSettings) {
  TempDir home;
  Drives(RunKduIn(home.path(), {"drives", "--json"}));
  EXPECT_FALSE(fs::exists(home / "config/Kelvo"));
  EXPECT_FALSE(fs::exists(home / "state/kelvo-disk-utility/kdisk32.log"));
}

TEST(KduDrives, TraceLogFollowsTheSetting) {
  TempDir home;
  WriteIni(home.path(), "Enable Trace File=1\n");
  Drives(RunKduIn(home.path(), {"drives", "--json"}));
  const std::string log = ReadFileText(home / "state/kelvo-disk-utility/kdisk32.log");
  EXPECT_NE(log.find(": Log file opened: "), std::string::npos) << log;
}

TEST(KduDrives, UnusableSettingOverridesAreUsageErrors) {
  EXPECT_EQ(RunKdu({"drives", "--blocking-factor", "0"}).exit_code, 2);
  EXPECT_EQ(RunKdu({"drives", "--line-step", "-1"}).exit_code, 2);
  EXPECT_EQ(RunKdu({"drives", "--blocking-factor", "32", "--line-start", "100"}).exit_code, 0);
}

}  // namespace
}  // namespace kelvo::test
