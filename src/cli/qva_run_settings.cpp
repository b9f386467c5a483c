#include "cli/qva_run_settings.h"

#include "app/app_state.h"

namespace kelvo::cli {

const Settings& RunSettings(const CliContext& ctx) { return ctx.state->settings; }

}  // namespace kelvo::cli
