#include <gtest/gtest.h>

#include <cstdlib>

#include "app/settings.h"
#include "settings_store/qt_settings_store.h"
#include "support/test_support.h"

namespace kelvo {
namespace {

using test::ReadFileText;
using test::TempDir;
using test::WriteFileBytes;

// The user's store is found through XDG_CONFIG_HOME, which QSettings reads
// once per process: point it at a private folder before any test runs.
TempDir& ConfigHome() {
  static TempDir dir;
  return dir;
}
const bool kConfigHomeSet = [] {
  setenv("XDG_CONFIG_HOME", ConfigHome().path().c_str(), 1);
  return true;
}();

TEST(CQtSettingsStore, UserStoreLivesInTheXdgConfigFolder) {
  ASSERT_TRUE(kConfigHomeSet);
  CQtSettingsStore store;
  EXPECT_EQ(store.FilePath(), (ConfigHome() / "Kelvo/Kelvo Disk Utility.ini").string());
  EXPECT_FALSE(store.HasKey());
  EXPECT_TRUE(CreateSettingsKey(store));
  EXPECT_TRUE(store.HasKey());
  store.SetInt("Main Window Width", 1000);
  EXPECT_TRUE(store.Flush());
  const std::string text = ReadFileText(store.FilePath());
  EXPECT_NE(text.find("[Settings]"), std::string::npos) << text;
  EXPECT_EQ(CQtSettingsStore().GetInt("Main Window Width"), 1000);
}

TEST(CQtSettingsStore, SettingsSurviveARoundTripThroughTheFile) {
  TempDir dir;
  const std::string path = (dir / "sub/k.ini").string();
  Settings s;
  s.MainWindowLeft = 300;
  s.SystemWindowMinX = -32000;
  s.RetainPrinterFormat = 1;
  s.StartupDirectory = "/home/op/Druckerdateien \u00e4\u00f6";
  s.TapeRestorePath = "/srv/restore";
  s.FloppyBDevice = "emu:/srv/b.img,form=5.25,wp";
  s.TapeDevice[0] = "/srv/v1.tap,/srv/v2.tap";
  {
    CQtSettingsStore store(path);
    SaveSettings(s, store);
  }
  CQtSettingsStore again(path);
  EXPECT_TRUE(again.HasKey());
  const Settings back = LoadSettings(again);
  EXPECT_EQ(back.MainWindowLeft, 300);
  EXPECT_EQ(back.SystemWindowMinX, -32000);
  EXPECT_EQ(back.RetainPrinterFormat, 1);
  EXPECT_EQ(back.StartupDirectory, s.StartupDirectory);
  EXPECT_EQ(back.TapeRestorePath, "/srv/restore");
  EXPECT_EQ(back.FloppyBDevice, "emu:/srv/b.img,form=5.25,wp");
  EXPECT_EQ(back.TapeDevice[0], "/srv/v1.tap,/srv/v2.tap");
}

TEST(CQtSettingsStore, HandWrittenFileFollowsTheReadingRules) {
  TempDir dir;
  const auto path = dir / "k.ini";
  WriteFileBytes(path,
                 "[Settings]\n"
                 "Main Window Width=2049\n"
                 "Main Window Height=2048\n"
                 "System Window Right=9999\n"
                 "Tape Blocking Factor=abc\n"
                 "Default Zoom=99999999999\n"
                 "Zoom Increment= 7 \n"
                 "Startup Directory=C:\n"
                 "Tape Restore Path=/srv/t\n"
                 "Tape1 Device=/srv/a.tap,/srv/b.tap\n");
  CQtSettingsStore store(path.string());
  EXPECT_FALSE(store.GetInt("Tape Blocking Factor").has_value());
  EXPECT_FALSE(store.GetInt("Missing").has_value());
  EXPECT_FALSE(store.GetString("Missing").has_value());
  const Settings s = LoadSettings(store);
  EXPECT_EQ(s.MainWindowWidth, 762);
  EXPECT_EQ(s.MainWindowHeight, 2048);
  EXPECT_EQ(s.SystemWindowRight, 640);
  EXPECT_EQ(s.TapeBlockingFactor, 16);
  EXPECT_EQ(s.DefaultZoom, 50);
  EXPECT_EQ(s.ZoomIncrement, 7);
  EXPECT_EQ(s.StartupDirectory, "");
  EXPECT_EQ(s.TapeRestorePath, "/srv/t");
  EXPECT_EQ(s.TapeDevice[1], "/srv/a.tap,/srv/b.tap");
}

TEST(CQtSettingsStore, EmptyPathsLeaveTheFileValuesAlone) {
  TempDir dir;
  const auto path = dir / "k.ini";
  WriteFileBytes(path, "[Settings]\nStartup Directory=/home/op\n");
  {
    CQtSettingsStore store(path.string());
    Settings s = LoadSettings(store);
    s.StartupDirectory.clear();
    SaveSettings(s, store);
  }
  EXPECT_EQ(CQtSettingsStore(path.string()).GetString("Startup Directory"), "/home/op");
}

TEST(CQtSettingsStore, ReadingNeverCreatesTheFile) {
  TempDir dir;
  const auto path = dir / "never/k.ini";
  {
    CQtSettingsStore store(path.string());
    EXPECT_FALSE(store.HasKey());
    LoadSettings(store);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(CQtSettingsStore, UnwritableFileReportsTheFailure) {
  TempDir dir;
  WriteFileBytes(dir / "plain", "x");
  CQtSettingsStore store((dir / "plain/k.ini").string());
  EXPECT_FALSE(store.CreateKey());
  store.SetInt("Maximized", 1);
  EXPECT_FALSE(store.Flush());
}

}  // namespace
}  // namespace kelvo
