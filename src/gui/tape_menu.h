// The Tape menu of the main window: the drives it offers and the tape context
// its commands run with.
#pragma once

#include <vector>

#include "gui/device_list.h"
#include "gui/shell_context.h"
#include "tape/tape_commands.h"

namespace kelvo::gui {

// The tape context of the program's drives as the device bar binds them;
// TapeBusy is the program's own flag.
TapeContext MakeTapeContext(ShellContext& ctx, const std::vector<DeviceEntry>& devices);

}  // namespace kelvo::gui
