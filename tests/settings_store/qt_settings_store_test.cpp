// The ini file store. The user's store in the XDG configuration folder, with
// its [Settings] group, is read in kdu drives' tests.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "settings_store/qt_settings_store.h"
#include "support/test_support.h"

namespace kelvo {
namespace {

using test::TempDir;
using test::WriteFileBytes;

TEST(CQtSettingsStore, HandWrittenFileReadsAndSettingsRoundTrip) {
  TempDir dir;
  const auto path = dir / "sub/k.ini";
  std::filesystem::create_directories(path.parent_path());
  WriteFileBytes(path,
                 "[Settings]\n"
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

// Reading never creates the file, creating the key does; a file that cannot
// be written says so.
TEST(CQtSettingsStore, OnlyTheKeyCreatesTheFileAndFailedWritesAreReported) {
  TempDir dir;
  const auto path = dir / "new/k.ini";
  CQtSettingsStore created(path.string());
  LoadSettings(created);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(CreateSettingsKey(created));
  EXPECT_TRUE(created.HasKey());
  created.SetInt("Maximized", 1);
  EXPECT_TRUE(created.Flush());
  WriteFileBytes(dir / "plain", "x");
  CQtSettingsStore store((dir / "plain/k.ini").string());
  EXPECT_FALSE(store.HasKey());
  EXPECT_FALSE(store.CreateKey());
  store.SetInt("Maximized", 1);
  EXPECT_FALSE(store.Flush());
}

}  // namespace
}  // namespace kelvo
