#include <gtest/gtest.h>

#include "tape/tape_progress.h"

namespace kelvo::test {
namespace {

// The window's one button aborts while the tape work runs and closes the
// window afterwards; the clock stops with the work.
TEST(TapeProgress, ButtonAndClock) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point now{};
  bool busy = true;
  CRestoreProgressModel m(busy, [&now] { return now; });
  m.StartClock();
  now += std::chrono::seconds(65);
  m.Tick();
  EXPECT_EQ(m.ElapsedTime(), " 0h:01m:05s");
  m.PressButton();
  EXPECT_TRUE(m.AbortRequested());
  EXPECT_TRUE(m.IsOpen());
  now += std::chrono::seconds(3600);
  m.StopClock();
  now += std::chrono::seconds(10);
  m.Tick();
  EXPECT_EQ(m.ElapsedTime(), " 1h:01m:05s");
  busy = false;
  m.PressButton();
  EXPECT_FALSE(m.IsOpen());
}

}  // namespace
}  // namespace kelvo::test
