// Start-up and end of a run: settings, device table, floppy driver test and
// trace log, shared by the desktop program and kdu.
#pragma once

#include <filesystem>
#include <string>

#include "app/app_state.h"
#include "core/interaction.h"
#include "app/key_value_store.h"

namespace kelvo {

struct StartupOptions {
  // Create the settings key when it does not exist yet (first run).
  bool create_settings_key = true;
  // Warn through the Interaction when the floppy driver test fails.
  bool warn_missing_floppy_driver = true;
  // Device strings given for this run only (empty: the setting's binding).
  DeviceBindings overrides;
  // Where the trace log goes; empty: DefaultTraceLogPath().
  std::filesystem::path trace_log_path;
  // Root of the /dev and /sys folders the floppy driver test looks at.
  std::filesystem::path system_root = "/";
};

// The bindings stored in `settings`, with the non-empty `overrides` in place.
DeviceBindings EffectiveBindings(const Settings& settings, const DeviceBindings& overrides);

// Prepares `state` for a run: reads the settings (creating the key on a first
// run when allowed), binds the devices, runs the floppy driver test (warning
// once when it fails), fills the device table, records the current folder and
// opens the trace log when "Enable Trace File" is on. The device bindings
// live in the settings, so they are read before the devices are enumerated.
void StartUp(AppState& state, CKeyValueStore& store, Interaction& ui,
             const StartupOptions& options);

// The end of a run: writes the settings back and closes the trace log.
void ShutDown(AppState& state, CKeyValueStore& store);

}  // namespace kelvo
