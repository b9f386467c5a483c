// Loading the settings at start-up and writing them back at exit.
#pragma once

#include "gui/shell_context.h"

namespace kelvo::gui {

void LoadShellSettings(ShellSettings& settings);
void SaveShellSettings(const ShellSettings& settings);

}  // namespace kelvo::gui
