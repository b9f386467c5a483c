// The application state: the settings and the run-time state the program
// shares between its parts. One object per run (and per test), passed to the
// code that needs it.
#pragma once

#include <string>
#include <vector>

#include "app/settings.h"
#include "core/trace_log.h"
#include "media/device_table.h"
#include "transfer/transfer_state.h"

namespace kelvo {

// Platform identifiers. Linux takes the direct device path of the floppy
// layer, like the NT family.
inline constexpr int kPlatformWin9x = 1;
inline constexpr int kPlatformDirect = 2;

// TransferState holds TransferSelection, CopyInProgress, TapeBusy,
// LineNumberStart and LineNumberIncrement.
struct AppState : TransferState {
  Settings settings;
  // The device strings in effect for this run: the settings' bindings with
  // any command-line overrides applied. Never written back to the store.
  DeviceBindings Bindings;

  bool AnyTapePresent = false;
  std::string SelectedTapeName;
  DeviceTable Devices;
  int FormatDriverPresent = 1;
  int PlatformId = kPlatformDirect;
  std::string CurrentPcFolder;
  std::string LastOpenDirectory;
  int LastOpenFilterIndex = 0;
  CTraceLog Trace;
};

}  // namespace kelvo
