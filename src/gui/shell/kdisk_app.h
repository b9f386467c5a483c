// The start and end of a kdisk run: the engine's start-up (settings, device
// table, floppy driver test, trace log) followed by the main window with its
// PC explorer window and the files named on the command line; at the end the
// settings go back to the store.
#pragma once

#include <memory>

#include "app/key_value_store.h"
#include "app/startup.h"
#include "gui/shell/command_line.h"
#include "gui/shell/main_frame.h"

namespace kelvo::gui {

// Shows the main window; null when it or its PC window cannot be created.
// Files opened and saved are also added to the desktop's recently-used list
// `recently_used_xbel` when one is given.
std::unique_ptr<CMainFrame> StartKdisk(ShellContext& ctx, CKeyValueStore& store,
                                       const CommandLine& command_line,
                                       StartupOptions options = {},
                                       const QString& recently_used_xbel = {});

// Closes the main window (if still open) and writes the settings back.
void EndKdisk(ShellContext& ctx, CKeyValueStore& store, std::unique_ptr<CMainFrame> frame);

}  // namespace kelvo::gui
