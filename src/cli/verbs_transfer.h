// kdu cp, and the put and get shorthands built on it.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_context.h"

namespace kelvo::cli {

// Copies `names` from place `from` to place `to` through the transfer
// engine. Returns the exit status.
int RunCopy(CliContext& ctx, const std::string& from, const std::string& to,
            const std::vector<std::string>& names);

// kdu put PLACE PCFILE...: the files, by folder, copied into PLACE.
int RunPutFiles(CliContext& ctx, const std::string& place, const std::vector<std::string>& files);

}  // namespace kelvo::cli
