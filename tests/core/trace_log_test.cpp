#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "support/test_support.h"
#include "core/trace_log.h"

namespace kelvo {
namespace {

using test::ReadFileText;
using test::TempDir;
using test::WriteFileBytes;

// `text` with every digit replaced by '9', to compare times and dates by form.
std::string DigitsAsNines(std::string text) {
  for (char& c : text)
    if (c >= '0' && c <= '9') c = '9';
  return text;
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(CTraceLog, OpeningCreatesTheFolderAndWritesTheHeaderLine) {
  TempDir dir;
  const auto path = dir / "state/kelvo-disk-utility/kdisk32.log";
  CTraceLog log;
  ASSERT_TRUE(log.OpenTraceLog(path));
  EXPECT_TRUE(log.IsOpen());
  const std::string text = ReadFileText(path);
  // "<time>: Log file opened: <date> <time>\r\n", date and time in the C
  // locale's forms.
  EXPECT_EQ(DigitsAsNines(text), "99:99:99: Log file opened: 99/99/99 99:99:99\r\n");
}

TEST(CTraceLog, LinesGetTheTimeAndNoLineEnd) {
  TempDir dir;
  const auto path = dir / "kdisk32.log";
  CTraceLog log;
  ASSERT_TRUE(log.OpenTraceLog(path));
  const std::size_t header = ReadFileText(path).size();
  log.WriteTraceLine("copied REPORT.FNT");
  const std::string tail = ReadFileText(path).substr(header);
  EXPECT_EQ(DigitsAsNines(tail), "99:99:99: copied REPORT.FNT");
}

TEST(CTraceLog, OpeningTruncatesAnOldLog) {
  TempDir dir;
  const auto path = dir / "kdisk32.log";
  WriteFileBytes(path, std::string(5000, 'x'));
  CTraceLog log;
  ASSERT_TRUE(log.OpenTraceLog(path));
  EXPECT_EQ(ReadFileText(path).find('x'), std::string::npos);
}

TEST(CTraceLog, ClosedLogWritesNothing) {
  TempDir dir;
  const auto path = dir / "kdisk32.log";
  CTraceLog never_opened;
  never_opened.WriteTraceLine("lost");
  never_opened.CloseTraceLog();
  EXPECT_FALSE(std::filesystem::exists(path));

  CTraceLog log;
  ASSERT_TRUE(log.OpenTraceLog(path));
  log.CloseTraceLog();
  EXPECT_FALSE(log.IsOpen());
  const std::string before = ReadFileText(path);
  log.WriteTraceLine("after close");
  EXPECT_EQ(ReadFileText(path), before);
}

TEST(CTraceLog, UncreatableFileLeavesTheLogClosed) {
  TempDir dir;
  WriteFileBytes(dir / "plain-file", "not a folder");
  CTraceLog log;
  EXPECT_FALSE(log.OpenTraceLog(dir / "plain-file/sub/kdisk32.log"));
  EXPECT_FALSE(log.IsOpen());
  log.WriteTraceLine("ignored");
  EXPECT_FALSE(log.OpenTraceLog({}));
}

TEST(CTraceLog, DefaultPathFollowsTheXdgStateFolder) {
  {
    ScopedEnv state("XDG_STATE_HOME", "/var/tmp/state");
    EXPECT_EQ(DefaultTraceLogPath(), "/var/tmp/state/kelvo-disk-utility/kdisk32.log");
  }
  {
    ScopedEnv state("XDG_STATE_HOME", nullptr);
    ScopedEnv home("HOME", "/home/operator");
    EXPECT_EQ(DefaultTraceLogPath(), "/home/operator/.local/state/kelvo-disk-utility/kdisk32.log");
  }
  {
    // A relative XDG folder is ignored, as the XDG rules say.
    ScopedEnv state("XDG_STATE_HOME", "relative/state");
    ScopedEnv home("HOME", "/home/operator");
    EXPECT_EQ(DefaultTraceLogPath(), "/home/operator/.local/state/kelvo-disk-utility/kdisk32.log");
  }
  {
    ScopedEnv state("XDG_STATE_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    EXPECT_TRUE(DefaultTraceLogPath().empty());
  }
}

}  // namespace
}  // namespace kelvo
