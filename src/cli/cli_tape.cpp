#include "cli/cli_tape.h"

#include "app/app_state.h"

namespace kelvo::cli {

TapeContext CliTapeContext(CliContext& ctx) {
  TapeContext tc{*ctx.ui, ctx.state->TapeBusy, {}};
  for (int i = 0; i < kTapeDriveCount; ++i) {
    const std::string& bound = ctx.state->Bindings.tape[i];
    if (!bound.empty()) tc.bindings.device[i] = bound;
  }
  return tc;
}

}  // namespace kelvo::cli
