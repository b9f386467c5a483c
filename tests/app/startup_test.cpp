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

// kdu, which leaves the store as it finds it, is checked by kdu drives.
TEST(StartUp, FirstRunCreatesTheKey) {
  TempDir dir;
  CMemoryKeyValueStore store;
  ScriptedInteraction ui;
  AppState state;
  StartUp(state, store, ui, Isolated(dir));
  EXPECT_TRUE(store.HasKey());
  EXPECT_EQ(state.CurrentPcFolder, std::filesystem::current_path().string());
}

TEST(StartUp, MissingFloppyDriverWarnsOnceAndGoesOn) {
  TempDir dir;
  CMemoryKeyValueStore store;
  BindNothing(store, dir);
  // A floppy device is there (a USB drive), but no floppy driver.
  std::filesystem::create_directories(dir / "root/dev");
  WriteFileBytes(dir / "root/dev/sdx", {});
  store.SetString("Floppy A Device", "/dev/sdx");
  ScriptedInteraction ui;
  AppState state;
  StartUp(state, store, ui, Isolated(dir));
  EXPECT_EQ(state.FormatDriverPresent, 0);
  ASSERT_EQ(ui.asks.size(), 1u);
  EXPECT_EQ(ui.asks[0].text, "Floppy driver not loaded! Some functions will not be available.");
  EXPECT_EQ(ui.asks[0].icon, Icon::Exclamation);
  EXPECT_FALSE(state.CurrentPcFolder.empty());  // and start-up went on

  ScriptedInteraction quiet;
  AppState again;
  StartupOptions o = Isolated(dir);
  o.warn_missing_floppy_driver = false;
  StartUp(again, store, quiet, o);
  EXPECT_EQ(again.FormatDriverPresent, 0);

  // Asked with a tick box (as kdisk does), it stays away once ticked.
  o.warn_missing_floppy_driver = true;
  int shown = 0;
  o.warn_with_check = [&shown](const std::string&, const std::string& check) {
    ++shown;
    return check == "Do not show this again";  // ticked
  };
  for (int run = 0; run < 2; ++run) {
    AppState next;
    StartUp(next, store, quiet, o);
    ShutDown(next, store);
  }
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(quiet.asks.empty());
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
  EXPECT_TRUE(state.Devices[28].present);
  EXPECT_EQ(state.FormatDriverPresent, 1);  // an emulated drive needs no driver
  EXPECT_TRUE(ui.asks.empty());
  EXPECT_EQ(state.Bindings.tape[2], (dir / "t.tap").string());
  // The end of the run writes the settings back, with the stored bindings
  // and not the overrides.
  state.settings.ShowAllFileTypes = 1;
  ShutDown(state, store);
  EXPECT_EQ(store.GetInt("Show All File Types"), 1);
  EXPECT_EQ(store.GetString("Tape2 Device"), (dir / "no-tape").string());
  EXPECT_EQ(store.GetString("Floppy A Device"), (dir / "no-fd0").string());
}

TEST(StartUp, TraceLogIsWrittenOnlyWhenEnabled) {
  TempDir dir;
  CMemoryKeyValueStore store;
  BindNothing(store, dir);
  ScriptedInteraction ui;
  const StartupOptions o = Isolated(dir);
  // An old log is not even touched while the log is off.
  std::filesystem::create_directories(o.trace_log_path.parent_path());
  WriteFileBytes(o.trace_log_path, "old log");
  AppState off, on;
  StartUp(off, store, ui, o);
  EXPECT_FALSE(off.Trace.IsOpen());
  ShutDown(off, store);
  EXPECT_EQ(ReadFileText(o.trace_log_path), "old log");
  store.SetInt("Enable Trace File", 1);
  StartUp(on, store, ui, o);
  EXPECT_TRUE(on.Trace.IsOpen());
  ShutDown(on, store);
  EXPECT_FALSE(on.Trace.IsOpen());
}

}  // namespace
}  // namespace kelvo
