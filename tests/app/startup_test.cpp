#include <gtest/gtest.h>

#include "app/device_enumeration.h"
#include "app/startup.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace kelvo {
namespace {

using test::ReadFileText;
using test::ScriptedInteraction;
using test::TempDir;
using test::WriteFileBytes;

// Options that keep the run away from the machine's own devices and folders.
StartupOptions Isolated(const TempDir& dir) {
  StartupOptions o;
  o.system_root = dir / "root";
  o.trace_log_path = dir / "state/kdisk32.log";
  return o;
}

void BindNothing(CMemoryKeyValueStore& store, const TempDir& dir) {
  store.SetString("Floppy A Device", (dir / "no-fd0").string());
  store.SetString("Floppy B Device", (dir / "no-fd1").string());
  for (int i = 0; i < 4; ++i)
    store.SetString("Tape" + std::to_string(i) + " Device", (dir / "no-tape").string());
}

TEST(StartUp, FirstRunCreatesTheKeyAndStartsWithTheDefaults) {
  TempDir dir;
  CMemoryKeyValueStore store;
  ScriptedInteraction ui;
  AppState state;
  state.PlatformId = 0;
  StartUp(state, store, ui, Isolated(dir));
  EXPECT_TRUE(store.HasKey());
  EXPECT_EQ(state.PlatformId, kPlatformDirect);
  EXPECT_EQ(state.settings.MainWindowWidth, 762);
  EXPECT_EQ(state.Bindings.floppy[0], "/dev/fd0");
  EXPECT_EQ(state.Bindings.tape[3], "/dev/nst3");
  EXPECT_EQ(state.CurrentPcFolder, std::filesystem::current_path().string());
  EXPECT_EQ(state.LineNumberStart, 0);
  EXPECT_EQ(state.LineNumberIncrement, 0);
  EXPECT_TRUE(state.TransferSelection.empty());
  EXPECT_FALSE(state.Trace.IsOpen());
}

TEST(StartUp, KeyIsLeftUncreatedWhenNotAllowed) {
  TempDir dir;
  CMemoryKeyValueStore store;
  ScriptedInteraction ui;
  AppState state;
  StartupOptions o = Isolated(dir);
  o.create_settings_key = false;
  StartUp(state, store, ui, o);
  EXPECT_FALSE(store.HasKey());
  EXPECT_TRUE(store.values().empty());
}

TEST(StartUp, MissingFloppyDriverWarnsOnceAndGoesOn) {
  TempDir dir;
  CMemoryKeyValueStore store;
  BindNothing(store, dir);
  ScriptedInteraction ui;
  AppState state;
  StartUp(state, store, ui, Isolated(dir));
  EXPECT_EQ(state.FormatDriverPresent, 0);
  ASSERT_EQ(ui.asks.size(), 1u);
  EXPECT_EQ(ui.asks[0].text, "Floppy driver not loaded! Some functions will not be available.");
  EXPECT_EQ(ui.asks[0].buttons, Buttons::Ok);
  EXPECT_EQ(ui.asks[0].icon, Icon::Exclamation);
  EXPECT_EQ(ui.asks[0].title, "Kelvo Disk Utility");
  EXPECT_EQ(ui.beeps, std::vector<BeepKind>{BeepKind::Exclamation});
  EXPECT_FALSE(state.AnyTapePresent);

  ScriptedInteraction quiet;
  AppState again;
  StartupOptions o = Isolated(dir);
  o.warn_missing_floppy_driver = false;
  StartUp(again, store, quiet, o);
  EXPECT_EQ(again.FormatDriverPresent, 0);
  EXPECT_TRUE(quiet.asks.empty());
}

TEST(StartUp, EmulatedDriveNeedsNoDriverWarning) {
  TempDir dir;
  CMemoryKeyValueStore store;
  BindNothing(store, dir);
  store.SetString("Floppy B Device", "emu:" + (dir / "b.img").string() + ",form=5.25");
  ScriptedInteraction ui;
  AppState state;
  StartUp(state, store, ui, Isolated(dir));
  EXPECT_EQ(state.FormatDriverPresent, 1);
  EXPECT_TRUE(ui.asks.empty());
  EXPECT_FALSE(state.Devices[0].present);
  EXPECT_TRUE(state.Devices[1].present);
  EXPECT_EQ(state.Devices[1].drive_form, kDriveForm525);
}

TEST(StartUp, OverridesBindDevicesForThisRunOnly) {
  TempDir dir;
  WriteFileBytes(dir / "t.tap", "");
  CMemoryKeyValueStore store;
  BindNothing(store, dir);
  ScriptedInteraction ui;
  AppState state;
  StartupOptions o = Isolated(dir);
  o.overrides.tape[2] = (dir / "t.tap").string();
  o.overrides.floppy[0] = "emu:" + (dir / "a.img").string();
  StartUp(state, store, ui, o);
  EXPECT_TRUE(state.AnyTapePresent);
  EXPECT_TRUE(state.Devices[28].present);
  EXPECT_FALSE(state.Devices[26].present);
  EXPECT_TRUE(state.Devices[0].present);
  EXPECT_EQ(state.Bindings.tape[2], (dir / "t.tap").string());
  // The settings keep the stored bindings, so the end of the run writes
  // those back and not the overrides.
  ShutDown(state, store);
  EXPECT_EQ(store.GetString("Tape2 Device"), (dir / "no-tape").string());
  EXPECT_EQ(store.GetString("Floppy A Device"), (dir / "no-fd0").string());
}

TEST(StartUp, TraceLogIsWrittenOnlyWhenEnabled) {
  TempDir dir;
  CMemoryKeyValueStore store;
  BindNothing(store, dir);
  ScriptedInteraction ui;
  const StartupOptions o = Isolated(dir);
  {
    AppState state;
    StartUp(state, store, ui, o);
    EXPECT_FALSE(state.Trace.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(o.trace_log_path));
  }
  // An old log is not even touched while the log is off.
  std::filesystem::create_directories(o.trace_log_path.parent_path());
  WriteFileBytes(o.trace_log_path, "old log");
  {
    AppState state;
    StartUp(state, store, ui, o);
    ShutDown(state, store);
    EXPECT_EQ(ReadFileText(o.trace_log_path), "old log");
  }
  store.SetInt("Enable Trace File", 1);
  {
    AppState state;
    StartUp(state, store, ui, o);
    EXPECT_TRUE(state.Trace.IsOpen());
    const std::string text = ReadFileText(o.trace_log_path);
    EXPECT_NE(text.find(": Log file opened: "), std::string::npos);
    EXPECT_EQ(text.find("old log"), std::string::npos);
    ShutDown(state, store);
    EXPECT_FALSE(state.Trace.IsOpen());
  }
}

TEST(ShutDown, WritesTheChangedSettingsBack) {
  TempDir dir;
  CMemoryKeyValueStore store;
  ScriptedInteraction ui;
  AppState state;
  StartUp(state, store, ui, Isolated(dir));
  state.settings.ShowAllFileTypes = 1;
  state.settings.StartupDirectory = "/srv/printer";
  ShutDown(state, store);
  const Settings next = LoadSettings(store);
  EXPECT_EQ(next.ShowAllFileTypes, 1);
  EXPECT_EQ(next.StartupDirectory, "/srv/printer");
}

}  // namespace
}  // namespace kelvo
