#include <gtest/gtest.h>

#include "app/app_state.h"
#include "cli/cli_context.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace kelvo::cli {
namespace {

// Options override the stored settings for this run only; without them
// the stored settings hold. Nothing is asked and nothing written.
TEST(PrepareRunState, OptionsOverrideTheStoredSettingsForThisRun) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "t.tap", "");
  CMemoryKeyValueStore store;
  store.SetInt("Retain MQS Format", 1);
  store.SetInt("Show All File Types", 1);
  test::ScriptedInteraction ui;
  CliContext plain;
  plain.ui = &ui;
  AppState stored;
  ASSERT_EQ(PrepareRunState(plain, stored, store), kExitOk);
  EXPECT_EQ(stored.settings.RetainPrinterFormat, 1);
  EXPECT_EQ(stored.settings.TapeBlockingFactor, 16);

  CliContext ctx;
  ctx.ui = &ui;
  ctx.retain_format = false;
  ctx.blocking_factor = 64;
  ctx.line_start = 100;
  ctx.tape[1] = (dir / "t.tap").string();
  ctx.drive_b = "emu:" + (dir / "b.img").string();
  AppState state;
  ASSERT_EQ(PrepareRunState(ctx, state, store), kExitOk);
  EXPECT_EQ(ctx.state, &state);
  EXPECT_EQ(state.settings.RetainPrinterFormat, 0);
  EXPECT_EQ(state.settings.TapeBlockingFactor, 64);
  EXPECT_EQ(state.settings.ShowAllFileTypes, 1);
  EXPECT_EQ(state.LineNumberStart, 100);
  EXPECT_TRUE(state.Devices[27].present);
  EXPECT_TRUE(state.Devices[1].present);
  EXPECT_TRUE(ui.asks.empty());
  EXPECT_EQ(store.values().size(), 2u);
  EXPECT_EQ(store.GetInt("Retain MQS Format"), 1);
}

}  // namespace
}  // namespace kelvo::cli
