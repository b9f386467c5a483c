#include "app/startup.h"

#include "app/device_enumeration.h"

namespace kelvo {
namespace {

void Override(std::string& binding, const std::string& override_with) {
  if (!override_with.empty()) binding = override_with;
}

}  // namespace

DeviceBindings EffectiveBindings(const Settings& settings, const DeviceBindings& overrides) {
  DeviceBindings b;
  b.floppy[0] = settings.FloppyADevice;
  b.floppy[1] = settings.FloppyBDevice;
  for (int i = 0; i < kTapeDriveCount; ++i) b.tape[i] = settings.TapeDevice[i];
  for (int i = 0; i < 2; ++i) Override(b.floppy[i], overrides.floppy[i]);
  for (int i = 0; i < kTapeDriveCount; ++i) Override(b.tape[i], overrides.tape[i]);
  return b;
}

void StartUp(AppState& state, CKeyValueStore& store, Interaction& ui,
             const StartupOptions& options) {
  state.PlatformId = kPlatformDirect;
  if (options.create_settings_key && !store.HasKey()) CreateSettingsKey(store);
  state.settings = LoadSettings(store);
  state.Bindings = EffectiveBindings(state.settings, options.overrides);

  if (IsFloppyDriverLoaded(state.Bindings, options.system_root)) {
    state.FormatDriverPresent = 1;
  } else {
    state.FormatDriverPresent = 0;
    if (options.warn_missing_floppy_driver) {
      ui.Beep(BeepKind::Exclamation);
      ui.Ask(kFloppyDriverMissingText, kAppTitle, Buttons::Ok, Icon::Exclamation);
    }
  }
  state.AnyTapePresent = EnumerateDevices(state.Bindings, state.Devices);

  std::error_code ec;
  state.CurrentPcFolder = std::filesystem::current_path(ec).string();

  if (state.settings.EnableTraceFile != 0) {
    state.Trace.OpenTraceLog(options.trace_log_path.empty() ? DefaultTraceLogPath()
                                                            : options.trace_log_path);
  }
}

void ShutDown(AppState& state, CKeyValueStore& store) {
  SaveSettings(state.settings, store);
  state.Trace.CloseTraceLog();
}

}  // namespace kelvo
