#include "tape/qva_progress.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(QvaProgress, FieldsButtonAndClock) {
  bool busy = true;
  auto now = std::chrono::steady_clock::time_point{};
  CQvaRestoreModel m(busy, [&now] { return now; });
  EXPECT_EQ(m.FilesRestored(), " 0");
  EXPECT_EQ(m.ElapsedTime(), " 0h:00m:00s");
  EXPECT_EQ(m.ButtonText(), "Abort");
  m.SetSystemId("PLANT 4");
  m.SetCurrentDiskUnit("DP1:");
  m.SetCurrentFile("A.FNT");
  EXPECT_EQ(m.SystemId(), " PLANT 4");
  EXPECT_EQ(m.CurrentDiskUnit(), " DP1:");
  EXPECT_EQ(m.CurrentFile(), "A.FNT");
  m.StartClock();
  now += std::chrono::seconds(65);
  m.Tick();
  EXPECT_EQ(m.ElapsedTime(), " 0h:01m:05s");

  m.PressButton();  // while the tape work runs: an abort request
  EXPECT_TRUE(m.AbortRequested());
  EXPECT_EQ(m.ButtonText(), "Close");
  EXPECT_TRUE(m.IsOpen());
  busy = false;
  m.PressButton();  // afterwards: closes the window
  EXPECT_FALSE(m.IsOpen());
}

}  // namespace
}  // namespace kelvo
