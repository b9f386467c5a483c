// kdu's command line: version, help and the usage errors of every verb
// family (exit status 2, a message on stderr, nothing done).
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kelvo::test {
namespace {

TEST(KduBasics, VersionHelpAndUsageErrors) {
  const CommandResult v = RunKdu({"--version"});
  EXPECT_EQ(v.exit_code, 0);
  EXPECT_EQ(v.out, "2.2b\n");
  EXPECT_NE(RunKdu({"--help"}).out.find("--drive-a"), std::string::npos);
  TempDir dir;
  WriteFileBytes(dir / "f.fnt", "x");
  const std::string f = (dir / "f.fnt").string();
  const std::string emu = "emu:" + (dir / "a.img").string();
  const std::vector<std::vector<std::string>> cases = {
      {"--no-such-option"},
      {"new"},
      {"get", f},
      {"cp", (dir / "nowhere").string(), "a:", "JOB.JSL"},
      {"tape", "restore", f},
      {"render", f},
      {"drives", "--blocking-factor", "0"},
      {"drives", "--line-step", "-1"},
      {"--drive-a", emu, "format", "a:", "--capacity", "1.44M"},
  };
  for (const auto& args : cases) {
    const CommandResult r = RunKdu(args);
    SCOPED_TRACE(args[0] + " " + (args.size() > 1 ? args[1] : ""));
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "a.img"));
  EXPECT_EQ(RunKdu({"drives", "--blocking-factor", "32", "--line-start", "100"}).exit_code, 0);
}

}  // namespace
}  // namespace kelvo::test
