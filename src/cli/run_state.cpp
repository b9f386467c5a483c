// Building kdu's application state: the stored settings, the device
// bindings and the options of this run.
#include <iostream>

#include "app/app_state.h"
#include "app/startup.h"
#include "cli/cli_context.h"

namespace kelvo::cli {

int PrepareRunState(CliContext& ctx, AppState& state, CKeyValueStore& store) {
  if (ctx.blocking_factor && *ctx.blocking_factor <= 0) {
    std::cerr << "kdu: --blocking-factor must be a positive number\n";
    return kExitUsage;
  }
  if ((ctx.line_start && *ctx.line_start < 0) || (ctx.line_step && *ctx.line_step < 0)) {
    std::cerr << "kdu: line numbers cannot be negative\n";
    return kExitUsage;
  }
  StartupOptions options;
  // kdu leaves the store as it finds it, and reports a missing floppy driver
  // only where floppies are used.
  options.create_settings_key = false;
  options.warn_missing_floppy_driver = false;
  options.overrides.floppy[0] = ctx.drive_a;
  options.overrides.floppy[1] = ctx.drive_b;
  for (int i = 0; i < kTapeDriveCount; ++i) options.overrides.tape[i] = ctx.tape[i];
  StartUp(state, store, *ctx.ui, options);

  Settings& s = state.settings;
  if (ctx.retain_format) s.RetainPrinterFormat = *ctx.retain_format ? 1 : 0;
  if (ctx.remove_line_numbers) s.RemoveLineNumbers = *ctx.remove_line_numbers ? 1 : 0;
  if (ctx.retain_labels) s.RetainTapeLabels = *ctx.retain_labels ? 1 : 0;
  if (ctx.blocking_factor) s.TapeBlockingFactor = *ctx.blocking_factor;
  if (ctx.line_start) state.LineNumberStart = *ctx.line_start;
  if (ctx.line_step) state.LineNumberIncrement = *ctx.line_step;
  ctx.state = &state;
  ctx.store = &store;
  return kExitOk;
}

}  // namespace kelvo::cli
