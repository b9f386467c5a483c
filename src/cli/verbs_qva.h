// kdu tape restore --qva: restoring from QVA save tapes.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "tape/tape_commands.h"
#include "tape/tape_progress.h"

namespace kelvo::cli {

struct QvaRestoreArgs {
  std::string tape;
  std::string match;
  std::vector<std::string> names;
  std::string directory;
  bool type_dirs = false;
  bool user_files_only = false;
};

// Runs the restore, showing its progress on `progress` (the tape progress
// line of the terminal) and asking for volumes through ctx.ui. Returns the
// exit status.
int RunQvaRestore(CliContext& ctx, const TapeContext& tc, const QvaRestoreArgs& args,
                  CTapeProgressSink& progress);

}  // namespace kelvo::cli
