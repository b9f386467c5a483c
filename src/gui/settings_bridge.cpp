#include "gui/settings_bridge.h"

namespace kelvo::gui {

// UNFINISHED: the settings store is wired in when it is merged; until then
// every run starts with the defaults and nothing is written.
void LoadShellSettings(ShellSettings& settings) { settings = ShellSettings(); }
void SaveShellSettings(const ShellSettings&) {}

}  // namespace kelvo::gui
