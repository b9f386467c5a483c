#include <gtest/gtest.h>

#include "app/settings.h"

namespace kelvo {
namespace {

using Ints = std::vector<std::pair<std::string, std::int32_t>>;
using Texts = std::vector<std::pair<std::string, std::string>>;

Settings LoadWith(const Ints& ints, const Texts& texts = {}) {
  CMemoryKeyValueStore store;
  for (const auto& [name, value] : ints) store.SetInt(name, value);
  for (const auto& [name, value] : texts) store.SetString(name, value);
  return LoadSettings(store);
}

// One row per reading rule, at the edges of its range.
TEST(LoadSettings, EachRuleKeepsOrCorrectsAStoredNumber) {
  const struct {
    Ints stored;
    std::int32_t Settings::*member;
    std::int32_t expected;
  } rows[] = {
      {{}, &Settings::MainWindowWidth, 762},  // absent: the default
      {{{"Main Window Width", 2048}}, &Settings::MainWindowWidth, 2048},
      {{{"Main Window Width", 2049}}, &Settings::MainWindowWidth, 762},
      {{{"Main Window Height", -3}}, &Settings::MainWindowHeight, 560},
      {{{"Main Window Left", 0}}, &Settings::MainWindowLeft, 135},
      {{{"Default Zoom", -50}}, &Settings::DefaultZoom, 50},
      {{{"System Window Min X", -32000}}, &Settings::SystemWindowMinX, -32000},  // no rule
      // The PC window must fit the main window, as corrected before it.
      {{{"Main Window Width", 700}, {"System Window Right", 700}}, &Settings::SystemWindowRight, 700},
      {{{"Main Window Width", 700}, {"System Window Right", 701}}, &Settings::SystemWindowRight, 640},
      {{{"Main Window Width", 5000}, {"System Window Right", 800}}, &Settings::SystemWindowRight, 640},
      {{{"Main Window Height", 400}, {"System Window Bottom", 401}}, &Settings::SystemWindowBottom, 320},
  };
  for (const auto& row : rows) {
    const Settings s = LoadWith(row.stored);
    EXPECT_EQ(s.*row.member, row.expected) << (row.stored.empty() ? "" : row.stored.back().first);
  }
  // A value of the wrong type counts as absent.
  const Settings s = LoadWith({{"Startup Directory", 42}}, {{"Main Window Width", "wide"}});
  EXPECT_EQ(s.MainWindowWidth, 762);
  EXPECT_EQ(s.StartupDirectory, "");
}

TEST(LoadSettings, ShortPathsReadEmptyAndShortDevicesKeepTheirDefault) {
  const std::string longest = "/" + std::string(kMaxSettingPath - 1, 'd');
  const struct {
    Texts stored;
    std::string Settings::*member;
    std::string expected;
  } rows[] = {
      {{{"Startup Directory", "C:"}}, &Settings::StartupDirectory, ""},
      {{{"Startup Directory", "C:\\"}}, &Settings::StartupDirectory, "C:\\"},
      {{{"Tape Restore Path", longest}}, &Settings::TapeRestorePath, longest},
      {{{"Tape Restore Path", longest + "x"}}, &Settings::TapeRestorePath, ""},
      {{}, &Settings::FloppyBDevice, "/dev/fd1"},
      {{{"Floppy A Device", "emu:/srv/a.img,form=5.25"}}, &Settings::FloppyADevice, "emu:/srv/a.img,form=5.25"},
  };
  for (const auto& row : rows) EXPECT_EQ(LoadWith({}, row.stored).*row.member, row.expected);
  EXPECT_EQ(LoadWith({}, {{"Tape3 Device", "x"}}).TapeDevice[3], "/dev/nst3");
}

// A store that records the names it is asked for.
class RecordingStore : public CMemoryKeyValueStore {
 public:
  mutable std::vector<std::string> reads;
  std::optional<std::int32_t> GetInt(const std::string& name) const override {
    reads.push_back(name);
    return CMemoryKeyValueStore::GetInt(name);
  }
  std::optional<std::string> GetString(const std::string& name) const override {
    reads.push_back(name);
    return CMemoryKeyValueStore::GetString(name);
  }
};

TEST(SaveSettings, WritesWhatStartUpReadsAndKeepsStoredPathsForEmptyOnes) {
  RecordingStore store;
  store.SetString("Tape Restore Path", "C:");
  Settings s = LoadSettings(store);
  s.MainWindowWidth = 1000;
  s.SystemWindowRight = 990;
  s.StartupDirectory = "/home/op/printer";  // an empty one is not written
  s.TapeDevice[1] = "/srv/a.tap";
  ASSERT_EQ(s.TapeRestorePath, "");
  SaveSettings(s, store);
  for (const std::string& name : store.reads)
    EXPECT_EQ(store.values().count(name), 1u) << name;
  EXPECT_EQ(store.GetString("Tape Restore Path"), "C:");
  const Settings back = LoadSettings(store);
  EXPECT_EQ(back.SystemWindowRight, 990);  // read after the width it must fit
  EXPECT_EQ(back.TapeDevice[1], "/srv/a.tap");
}

}  // namespace
}  // namespace kelvo
