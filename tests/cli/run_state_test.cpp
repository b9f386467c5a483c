#include <gtest/gtest.h>

#include "app/app_state.h"
#include "cli/cli_context.h"
#include "support/scripted_interaction.h"

namespace kelvo::cli {
namespace {

// Options override the stored settings for this run only; settings without
// an option keep their stored value. Nothing is asked and nothing written.
// (Device options reach the bindings: see kdu drives.)
TEST(PrepareRunState, OptionsOverrideTheStoredSettingsForThisRun) {
  CMemoryKeyValueStore store;
  store.SetInt("Retain MQS Format", 1);
  store.SetInt("Remove Line Numbers", 1);
  test::ScriptedInteraction ui;
  CliContext ctx;
  ctx.ui = &ui;
  ctx.retain_format = false;
  ctx.blocking_factor = 64;
  ctx.line_start = 100;
  AppState state;
  ASSERT_EQ(PrepareRunState(ctx, state, store), kExitOk);
  EXPECT_EQ(ctx.state, &state);
  EXPECT_EQ(state.settings.RetainPrinterFormat, 0);
  EXPECT_EQ(state.settings.RemoveLineNumbers, 1);
  EXPECT_EQ(state.settings.TapeBlockingFactor, 64);
  EXPECT_EQ(state.LineNumberStart, 100);
  EXPECT_TRUE(ui.asks.empty());
  EXPECT_EQ(store.values().size(), 2u);
  EXPECT_EQ(store.GetInt("Retain MQS Format"), 1);
}

}  // namespace
}  // namespace kelvo::cli
