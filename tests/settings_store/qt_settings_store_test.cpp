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

TEST(CQtSettingsStore, HandWrittenFileReadsAndSettingsRoundTrip) {
  TempDir dir;
  const auto path = dir / "sub/k.ini";
  std::filesystem::create_directories(path.parent_path());
  WriteFileBytes(path,
                 "[Settings]\n"
                 "Main Window Height=2048\n"
                 "Tape Blocking Factor=abc\n"
                 "Default Zoom=99999999999\n"
                 "Zoom Increment= 7 \n"
                 "Tape1 Device=/srv/a.tap,/srv/b.tap\n");
  Settings s;
  {
    CQtSettingsStore store(path.string());
    EXPECT_FALSE(store.GetInt("Tape Blocking Factor").has_value());
    EXPECT_FALSE(store.GetString("Missing").has_value());
    s = LoadSettings(store);
    EXPECT_EQ(s.MainWindowHeight, 2048);
    EXPECT_EQ(s.DefaultZoom, 50);
    EXPECT_EQ(s.ZoomIncrement, 7);
    EXPECT_EQ(s.TapeDevice[1], "/srv/a.tap,/srv/b.tap");
    s.StartupDirectory = "/home/op/Druckerdateien \u00e4\u00f6";
    s.FloppyBDevice = "emu:/srv/b.img,form=5.25,wp";
    SaveSettings(s, store);
  }
  const Settings back = LoadSettings(CQtSettingsStore(path.string()));
  EXPECT_EQ(back.StartupDirectory, s.StartupDirectory);
  EXPECT_EQ(back.FloppyBDevice, s.FloppyBDevice);
  EXPECT_EQ(back.TapeDevice[1], "/srv/a.tap,/srv/b.tap");
}

// Reading never creates the file; a file that cannot be written says so.
TEST(CQtSettingsStore, ReadingNeverCreatesTheFileAndFailedWritesAreReported) {
  TempDir dir;
  const auto path = dir / "never/k.ini";
  LoadSettings(CQtSettingsStore(path.string()));
  EXPECT_FALSE(std::filesystem::exists(path));
  WriteFileBytes(dir / "plain", "x");
  CQtSettingsStore store((dir / "plain/k.ini").string());
  EXPECT_FALSE(store.HasKey());
  EXPECT_FALSE(store.CreateKey());
  store.SetInt("Maximized", 1);
  EXPECT_FALSE(store.Flush());
}

}  // namespace
}  // namespace kelvo
