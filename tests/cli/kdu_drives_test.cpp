// kdu drives: the device table from options and stored settings, and what
// a run leaves behind.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

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

TEST(KduDrives, OptionsBindDevicesForTheRun) {
  TempDir dir;
  WriteFileBytes(dir / "some.tap", "");
  const std::string tap = (dir / "some.tap").string();
  const std::string emu_a = "emu:" + (dir / "a.img").string();
  const CommandResult r = RunKdu({"--tape0", tap, "drives", "--tape1", (dir / "missing.tap").string(), "--drive-a",
                                  emu_a + ",form=5.25"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("DRIVE", 0), 0u);
  EXPECT_NE(r.out.find("A:     yes      floppy  5.25  5\u00bc Floppy (A:)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Tape0  yes      tape"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Tape1  no       tape"), std::string::npos) << r.out;

  const CommandResult f = RunKdu({"--drive-a", emu_a, "--drive-b", emu_a + ",form=5.25", "drives", "--formats"});
  EXPECT_EQ(f.out.rfind("FORMAT           A:  B:\n3.5-inch 720k    yes -\n", 0), 0u) << f.out;
  EXPECT_NE(f.out.find("5.25-inch 1.2Mb  -   yes\n"), std::string::npos);
}

TEST(KduDrives, StoredSettingsAreReadAndNeverWritten) {
  TempDir home;
  Drives(RunKduIn(home.path(), {"drives", "--json"}));
  EXPECT_FALSE(fs::exists(home / "config/Kelvo"));  // a first run writes nothing
  EXPECT_FALSE(fs::exists(home / "state/kelvo-disk-utility/kdisk32.log"));

  WriteFileBytes(home / "stored.tap", "");
  fs::create_directories(home / "config/Kelvo");
  const fs::path ini = home / "config/Kelvo/Kelvo Disk Utility.ini";
  WriteFileBytes(ini, "[Settings]\nEnable Trace File=1\nTape2 Device=" + (home / "stored.tap").string() +
                          "\nFloppy B Device=emu:" + (home / "b.img").string() + ",form=5.25\n");
  const std::string before = ReadFileText(ini);
  json j = Drives(RunKduIn(home.path(), {"drives", "--json"}));
  EXPECT_TRUE(Entry(j, "Tape2")["present"].get<bool>());
  EXPECT_EQ(Entry(j, "B:")["drive_form"], 1);
  EXPECT_NE(ReadFileText(home / "state/kelvo-disk-utility/kdisk32.log").find(": Log file opened: "),
            std::string::npos);
  j = Drives(RunKduIn(home.path(), {"drives", "--json", "--tape2", (home / "gone.tap").string()}));
  EXPECT_FALSE(Entry(j, "Tape2")["present"].get<bool>());
  EXPECT_EQ(ReadFileText(ini), before);
}

}  // namespace
}  // namespace kelvo::test
