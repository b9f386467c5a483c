// The settings of this kdu run, for the QVA restore. Kept apart from the
// tape headers: the application-state header and the tape headers both
// define the number of tape drives and cannot be included together.
#pragma once

#include "app/settings.h"
#include "cli/cli_context.h"

namespace kelvo::cli {

const Settings& RunSettings(const CliContext& ctx);

}  // namespace kelvo::cli
