// What the tape verbs share.
#pragma once

#include "cli/cli_context.h"
#include "tape/tape_commands.h"

namespace kelvo::cli {

// The tape drives as this run binds them; TapeBusy is the run's own flag.
TapeContext CliTapeContext(CliContext& ctx);

}  // namespace kelvo::cli
