#include <gtest/gtest.h>

#include <cstdlib>

#include "core/trace_log.h"
#include "support/test_support.h"

namespace kelvo {
namespace {

using test::ReadFileText;

// `text` with every digit replaced by '9', to compare times and dates by form.
std::string DigitsAsNines(std::string text) {
  for (char& c : text)
    if (c >= '0' && c <= '9') c = '9';
  return text;
}

TEST(CTraceLog, HeaderThenTimedLinesAndNothingOnceClosed) {
  test::TempDir dir;
  const auto path = dir / "state/kelvo-disk-utility/kdisk32.log";
  std::filesystem::create_directories(path.parent_path());
  test::WriteFileBytes(path, std::string(5000, 'x'));  // an old log is replaced
  CTraceLog log;
  ASSERT_TRUE(log.OpenTraceLog(path));
  log.WriteTraceLine("copied REPORT.FNT");
  log.CloseTraceLog();
  log.WriteTraceLine("after close");
  EXPECT_EQ(DigitsAsNines(ReadFileText(path)),
            "99:99:99: Log file opened: 99/99/99 99:99:99\r\n99:99:99: copied REPORT.FNT");
  test::WriteFileBytes(dir / "plain-file", "not a folder");
  EXPECT_FALSE(log.OpenTraceLog(dir / "plain-file/sub/kdisk32.log"));
  EXPECT_FALSE(log.IsOpen());
}

TEST(CTraceLog, DefaultPathFollowsTheXdgStateFolder) {
  const std::string old_state = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
  const std::string old_home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", "/home/operator", 1);
  setenv("XDG_STATE_HOME", "/var/tmp/state", 1);
  EXPECT_EQ(DefaultTraceLogPath(), "/var/tmp/state/kelvo-disk-utility/kdisk32.log");
  setenv("XDG_STATE_HOME", "relative/state", 1);  // ignored, as the XDG rules say
  EXPECT_EQ(DefaultTraceLogPath(), "/home/operator/.local/state/kelvo-disk-utility/kdisk32.log");
  unsetenv("XDG_STATE_HOME");
  unsetenv("HOME");
  EXPECT_TRUE(DefaultTraceLogPath().empty());
  if (!old_home.empty()) setenv("HOME", old_home.c_str(), 1);
  if (!old_state.empty()) setenv("XDG_STATE_HOME", old_state.c_str(), 1);
}

}  // namespace
}  // namespace kelvo
