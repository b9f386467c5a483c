#include <gtest/gtest.h>

#include "app/settings.h"

namespace kelvo {
namespace {

// The numeric values in the order start-up reads them.
const std::vector<std::string> kNumericNames = {
    "Main Window Left",      "Main Window Top",       "Main Window Width",
    "Main Window Height",    "Maximized",             "Retain MQS Format",
    "Retain Tape Labels",    "Show All File Types",   "Remove Line Numbers",
    "System Window Top",     "System Window Left",    "System Window Right",
    "System Window Bottom",  "System Window Flags",   "System Window CmdShow",
    "System Window Min X",   "System Window Min Y",   "System Window Max X",
    "System Window Max Y",   "Name Column Width",     "Size Column Width",
    "Type Column Width",     "Modified Column Width", "File View Width",
    "Drive View Width",      "Tape Blocking Factor",  "Enable Trace File",
    "Left Print Margin",     "Top Print Margin",      "Default Zoom",
    "Zoom Increment",        "TapeRestoreToTypeDirs", "TapeRestoreUserFilesOnly",
    "DefaultTapeFormat",
};
const std::vector<std::string> kTextNames = {
    "Startup Directory", "Tape Restore Path", "Floppy A Device", "Floppy B Device",
    "Tape0 Device",      "Tape1 Device",      "Tape2 Device",    "Tape3 Device",
};

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

Settings LoadWith(const std::vector<std::pair<std::string, std::int32_t>>& ints,
                  const std::vector<std::pair<std::string, std::string>>& texts = {}) {
  CMemoryKeyValueStore store;
  for (const auto& [name, value] : ints) store.SetInt(name, value);
  for (const auto& [name, value] : texts) store.SetString(name, value);
  return LoadSettings(store);
}

TEST(LoadSettings, FirstRunGivesEveryDefault) {
  CMemoryKeyValueStore empty;
  const Settings s = LoadSettings(empty);
  EXPECT_EQ(s.MainWindowLeft, 135);
  EXPECT_EQ(s.MainWindowTop, 82);
  EXPECT_EQ(s.MainWindowWidth, 762);
  EXPECT_EQ(s.MainWindowHeight, 560);
  EXPECT_EQ(s.Maximized, 0);
  EXPECT_EQ(s.RetainPrinterFormat, 0);
  EXPECT_EQ(s.RetainTapeLabels, 0);
  EXPECT_EQ(s.ShowAllFileTypes, 0);
  EXPECT_EQ(s.RemoveLineNumbers, 0);
  EXPECT_EQ(s.SystemWindowLeft, 0);
  EXPECT_EQ(s.SystemWindowTop, 0);
  EXPECT_EQ(s.SystemWindowRight, 640);
  EXPECT_EQ(s.SystemWindowBottom, 320);
  EXPECT_EQ(s.SystemWindowFlags, 0);
  EXPECT_EQ(s.SystemWindowCmdShow, 0);
  EXPECT_EQ(s.SystemWindowMinX, 0);
  EXPECT_EQ(s.SystemWindowMinY, 0);
  EXPECT_EQ(s.SystemWindowMaxX, 0);
  EXPECT_EQ(s.SystemWindowMaxY, 0);
  EXPECT_EQ(s.NameColumnWidth, 100);
  EXPECT_EQ(s.SizeColumnWidth, 75);
  EXPECT_EQ(s.TypeColumnWidth, 160);
  EXPECT_EQ(s.ModifiedColumnWidth, 125);
  EXPECT_EQ(s.FileViewWidth, 100);
  EXPECT_EQ(s.DriveViewWidth, 155);
  EXPECT_EQ(s.TapeBlockingFactor, 16);
  EXPECT_EQ(s.EnableTraceFile, 0);
  EXPECT_EQ(s.LeftPrintMargin, 10);
  EXPECT_EQ(s.TopPrintMargin, 10);
  EXPECT_EQ(s.DefaultZoom, 50);
  EXPECT_EQ(s.ZoomIncrement, 5);
  EXPECT_EQ(s.TapeRestoreToTypeDirs, 0);
  EXPECT_EQ(s.TapeRestoreUserFilesOnly, 0);
  EXPECT_EQ(s.DefaultTapeFormat, 0);
  EXPECT_EQ(s.StartupDirectory, "");
  EXPECT_EQ(s.TapeRestorePath, "");
  EXPECT_EQ(s.FloppyADevice, "/dev/fd0");
  EXPECT_EQ(s.FloppyBDevice, "/dev/fd1");
  EXPECT_EQ(s.TapeDevice[0], "/dev/nst0");
  EXPECT_EQ(s.TapeDevice[3], "/dev/nst3");
}

TEST(LoadSettings, ReadsEveryValueInTheStoresOrder) {
  RecordingStore store;
  LoadSettings(store);
  std::vector<std::string> expected = kNumericNames;
  expected.insert(expected.end(), kTextNames.begin(), kTextNames.end());
  EXPECT_EQ(store.reads, expected);
}

TEST(LoadSettings, MainWindowSizeUpTo2048IsKept) {
  Settings s = LoadWith({{"Main Window Width", 2048}, {"Main Window Height", 2048}});
  EXPECT_EQ(s.MainWindowWidth, 2048);
  EXPECT_EQ(s.MainWindowHeight, 2048);
  s = LoadWith({{"Main Window Width", 2049}, {"Main Window Height", 2049}});
  EXPECT_EQ(s.MainWindowWidth, 762);
  EXPECT_EQ(s.MainWindowHeight, 560);
  s = LoadWith({{"Main Window Width", 0}, {"Main Window Height", -3}});
  EXPECT_EQ(s.MainWindowWidth, 762);
  EXPECT_EQ(s.MainWindowHeight, 560);
}

TEST(LoadSettings, MainWindowPositionMustBePositive) {
  Settings s = LoadWith({{"Main Window Left", 0}, {"Main Window Top", -20}});
  EXPECT_EQ(s.MainWindowLeft, 135);
  EXPECT_EQ(s.MainWindowTop, 82);
  s = LoadWith({{"Main Window Left", 1}, {"Main Window Top", 900}});
  EXPECT_EQ(s.MainWindowLeft, 1);
  EXPECT_EQ(s.MainWindowTop, 900);
}

TEST(LoadSettings, ExplorerRectangleMustFitTheCorrectedMainWindow) {
  Settings s = LoadWith({{"Main Window Width", 700},
                         {"Main Window Height", 400},
                         {"System Window Right", 701},
                         {"System Window Bottom", 401}});
  EXPECT_EQ(s.SystemWindowRight, 640);
  EXPECT_EQ(s.SystemWindowBottom, 320);
  s = LoadWith({{"Main Window Width", 700},
                {"Main Window Height", 400},
                {"System Window Right", 700},
                {"System Window Bottom", 400}});
  EXPECT_EQ(s.SystemWindowRight, 700);
  EXPECT_EQ(s.SystemWindowBottom, 400);
  // An out-of-range width is corrected first and the rectangle compared with
  // the corrected one.
  s = LoadWith({{"Main Window Width", 5000}, {"System Window Right", 800}});
  EXPECT_EQ(s.MainWindowWidth, 762);
  EXPECT_EQ(s.SystemWindowRight, 640);
  s = LoadWith({{"System Window Right", 0}, {"System Window Left", -4}, {"System Window Top", 7}});
  EXPECT_EQ(s.SystemWindowRight, 640);
  EXPECT_EQ(s.SystemWindowLeft, 0);
  EXPECT_EQ(s.SystemWindowTop, 7);
}

TEST(LoadSettings, PlacementValuesWithoutRuleAreTakenAsStored) {
  Settings s = LoadWith({{"System Window Min X", -32000},
                         {"System Window Min Y", -32000},
                         {"System Window Max X", -1},
                         {"System Window CmdShow", 3},
                         {"Maximized", 1}});
  EXPECT_EQ(s.SystemWindowMinX, -32000);
  EXPECT_EQ(s.SystemWindowMinY, -32000);
  EXPECT_EQ(s.SystemWindowMaxX, -1);
  EXPECT_EQ(s.SystemWindowCmdShow, 3);
  EXPECT_EQ(s.Maximized, 1);
}

TEST(LoadSettings, ZeroOrNegativeSizesTakeTheirDefault) {
  Settings s = LoadWith({{"Name Column Width", 0},
                         {"Size Column Width", -1},
                         {"Tape Blocking Factor", 0},
                         {"Default Zoom", -50},
                         {"Zoom Increment", 0},
                         {"Left Print Margin", 0},
                         {"Drive View Width", -155}});
  EXPECT_EQ(s.NameColumnWidth, 100);
  EXPECT_EQ(s.SizeColumnWidth, 75);
  EXPECT_EQ(s.TapeBlockingFactor, 16);
  EXPECT_EQ(s.DefaultZoom, 50);
  EXPECT_EQ(s.ZoomIncrement, 5);
  EXPECT_EQ(s.LeftPrintMargin, 10);
  EXPECT_EQ(s.DriveViewWidth, 155);
  s = LoadWith({{"Tape Blocking Factor", 20}, {"Default Zoom", 400}, {"Top Print Margin", 25}});
  EXPECT_EQ(s.TapeBlockingFactor, 20);
  EXPECT_EQ(s.DefaultZoom, 400);
  EXPECT_EQ(s.TopPrintMargin, 25);
}

TEST(LoadSettings, AValueOfTheWrongTypeCountsAsAbsent) {
  Settings s = LoadWith({{"Startup Directory", 42}}, {{"Main Window Width", "wide"}});
  EXPECT_EQ(s.MainWindowWidth, 762);
  EXPECT_EQ(s.StartupDirectory, "");
}

TEST(LoadSettings, PathsShorterThanThreeCharactersReadEmpty) {
  Settings s = LoadWith({}, {{"Startup Directory", "C:"}, {"Tape Restore Path", "/t"}});
  EXPECT_EQ(s.StartupDirectory, "");
  EXPECT_EQ(s.TapeRestorePath, "");
  s = LoadWith({}, {{"Startup Directory", "C:\\"}, {"Tape Restore Path", "/tmp/restore"}});
  EXPECT_EQ(s.StartupDirectory, "C:\\");
  EXPECT_EQ(s.TapeRestorePath, "/tmp/restore");
  const std::string longest = "/" + std::string(258, 'd');
  s = LoadWith({}, {{"Startup Directory", longest}, {"Tape Restore Path", longest + "x"}});
  EXPECT_EQ(s.StartupDirectory, longest);
  EXPECT_EQ(s.TapeRestorePath, "");
}

TEST(LoadSettings, DeviceBindingsKeepTheirDefaultUnlessANameIsStored) {
  Settings s = LoadWith({}, {{"Floppy A Device", "emu:/srv/a.img,form=5.25"},
                             {"Floppy B Device", ""},
                             {"Tape2 Device", "/srv/t1.tap,/srv/t2.tap"},
                             {"Tape3 Device", "x"}});
  EXPECT_EQ(s.FloppyADevice, "emu:/srv/a.img,form=5.25");
  EXPECT_EQ(s.FloppyBDevice, "/dev/fd1");
  EXPECT_EQ(s.TapeDevice[2], "/srv/t1.tap,/srv/t2.tap");
  EXPECT_EQ(s.TapeDevice[3], "/dev/nst3");
}

TEST(SaveSettings, WritesEveryNumberAndReadsBackTheSame) {
  CMemoryKeyValueStore store;
  Settings s;
  s.MainWindowLeft = 11;
  s.MainWindowWidth = 1000;
  s.SystemWindowRight = 990;
  s.SystemWindowMinX = -32000;
  s.RetainPrinterFormat = 1;
  s.TapeBlockingFactor = 32;
  s.EnableTraceFile = 1;
  s.DefaultTapeFormat = 2;
  s.StartupDirectory = "/home/op/printer";
  s.TapeRestorePath = "/srv/restore";
  s.TapeDevice[1] = "/srv/a.tap";
  SaveSettings(s, store);
  for (const std::string& name : kNumericNames) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(store.GetInt(name).has_value());
  }
  EXPECT_EQ(store.values().size(), kNumericNames.size() + kTextNames.size());
  EXPECT_EQ(store.GetInt("Retain MQS Format"), 1);
  const Settings back = LoadSettings(store);
  EXPECT_EQ(back.MainWindowLeft, 11);
  EXPECT_EQ(back.MainWindowWidth, 1000);
  EXPECT_EQ(back.SystemWindowRight, 990);
  EXPECT_EQ(back.SystemWindowMinX, -32000);
  EXPECT_EQ(back.RetainPrinterFormat, 1);
  EXPECT_EQ(back.TapeBlockingFactor, 32);
  EXPECT_EQ(back.EnableTraceFile, 1);
  EXPECT_EQ(back.DefaultTapeFormat, 2);
  EXPECT_EQ(back.StartupDirectory, "/home/op/printer");
  EXPECT_EQ(back.TapeRestorePath, "/srv/restore");
  EXPECT_EQ(back.TapeDevice[1], "/srv/a.tap");
}

TEST(SaveSettings, AnEmptyPathLeavesTheStoredOneAlone) {
  CMemoryKeyValueStore store;
  store.SetString("Startup Directory", "/home/op");
  store.SetString("Tape Restore Path", "C:");
  Settings s = LoadSettings(store);
  ASSERT_EQ(s.TapeRestorePath, "");
  s.StartupDirectory.clear();
  SaveSettings(s, store);
  EXPECT_EQ(store.GetString("Startup Directory"), "/home/op");
  EXPECT_EQ(store.GetString("Tape Restore Path"), "C:");
}

TEST(CreateSettingsKey, CreatesTheKeyOfAFirstRun) {
  CMemoryKeyValueStore store;
  EXPECT_FALSE(store.HasKey());
  EXPECT_TRUE(CreateSettingsKey(store));
  EXPECT_TRUE(store.HasKey());
  EXPECT_TRUE(store.values().empty());
}

}  // namespace
}  // namespace kelvo
