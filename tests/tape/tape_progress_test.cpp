#include <gtest/gtest.h>

#include "tape/tape_progress.h"

namespace kelvo::test {
namespace {

TEST(TapeProgress, FieldsCarryTheirLeadingBlank) {
  bool busy = false;
  CRestoreProgressModel m(busy);
  EXPECT_EQ(m.CounterLabel(), "Files Restored:");
  EXPECT_EQ(m.Counter(), " 0");
  EXPECT_EQ(m.ElapsedTime(), "0h:00m:00s");
  EXPECT_EQ(m.ButtonText(), "Abort");
  m.SetSource("Tape0");
  m.SetStatus("Done.");
  m.SetCounter("3");
  m.SetCurrentFile("A.CMD");
  m.SetProgress(140);
  EXPECT_EQ(m.Source(), " Tape0");
  EXPECT_EQ(m.Status(), " Done.");
  EXPECT_EQ(m.Counter(), " 3");
  EXPECT_EQ(m.CurrentFile(), "A.CMD");
  EXPECT_EQ(m.Progress(), 100);
}

TEST(TapeProgress, ButtonAbortsWhileBusyThenCloses) {
  bool busy = true;
  CRestoreProgressModel m(busy);
  m.PressButton();
  EXPECT_TRUE(m.AbortRequested());
  EXPECT_EQ(m.ButtonText(), "Close");
  EXPECT_TRUE(m.IsOpen());
  busy = false;
  m.PressButton();
  EXPECT_FALSE(m.IsOpen());
}

TEST(TapeProgress, ElapsedTime) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point now{};
  bool busy = true;
  CRestoreProgressModel m(busy, [&now] { return now; });
  m.StartClock();
  now += std::chrono::seconds(65);
  m.Tick();
  EXPECT_EQ(m.ElapsedTime(), " 0h:01m:05s");
  now += std::chrono::seconds(3600);
  m.StopClock();
  EXPECT_EQ(m.ElapsedTime(), " 1h:01m:05s");
  EXPECT_EQ(m.ButtonText(), "Close");
  now += std::chrono::seconds(10);
  m.Tick();  // the clock no longer runs
  EXPECT_EQ(m.ElapsedTime(), " 1h:01m:05s");
}

}  // namespace
}  // namespace kelvo::test
