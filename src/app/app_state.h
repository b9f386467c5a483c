// The application state: the settings and the run-time state the program
// shares between its parts. One object per run (and per test), passed to the
// code that needs it.
#pragma once

#include <string>
#include <vector>

#include "media/device_table.h"
#include "app/settings.h"
#include "core/trace_log.h"

namespace kelvo {

// Platform identifiers. Linux takes the direct device path of the floppy
// layer, like the NT family.
inline constexpr int kPlatformWin9x = 1;
inline constexpr int kPlatformDirect = 2;

struct AppState {
  Settings settings;
  // The device strings in effect for this run: the settings' bindings with
  // any command-line overrides applied. Never written back to the store.
  DeviceBindings Bindings;

  bool TapeBusy = false;
  bool AnyTapePresent = false;
  std::string SelectedTapeName;
  int LineNumberStart = 0;
  int LineNumberIncrement = 0;
  std::vector<std::string> TransferSelection;
  // Set while a floppy transfer or a floppy delete runs.
  bool CopyInProgress = false;
  DeviceTable Devices;
  int FormatDriverPresent = 1;
  int PlatformId = kPlatformDirect;
  std::string CurrentPcFolder;
  std::string LastOpenDirectory;
  int LastOpenFilterIndex = 0;
  TraceLog Trace;
};

}  // namespace kelvo
