#include "app/engine_setup.h"

#include <cctype>

#include "media/floppy_device.h"

namespace kelvo {

std::unique_ptr<CFloppyDrive> MakeFloppyDrive(char letter, const std::string& device) {
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  std::shared_ptr<CFloppyDevice> backend =
      MakeFloppyDevice(device.empty() ? DefaultFloppyDevice(letter) : device);
  if (!backend) return nullptr;
  return std::make_unique<CFloppyDrive>(std::string(1, letter) + ":", std::move(backend));
}

std::unique_ptr<CFloppyDrive> MakeBoundFloppyDrive(const AppState& state, char letter) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (upper != 'A' && upper != 'B') return nullptr;
  return MakeFloppyDrive(upper, state.Bindings.floppy[upper - 'A']);
}

FloppyDriveMaker MakeFloppyDriveMaker(std::map<char, std::string> devices) {
  return [devices = std::move(devices)](char letter) -> std::unique_ptr<CFloppyDrive> {
    const auto it = devices.find(letter);
    return it == devices.end() ? nullptr : MakeFloppyDrive(letter, it->second);
  };
}

TapeBindings TapeBindingsOf(const AppState& state) {
  TapeBindings bindings;
  for (int i = 0; i < kTapeDriveCount; ++i) {
    if (!state.Bindings.tape[i].empty()) bindings.device[i] = state.Bindings.tape[i];
  }
  return bindings;
}

TapeContext MakeTapeContext(AppState& state, Interaction& ui) {
  return TapeContext{ui, state.TapeBusy, TapeBindingsOf(state)};
}

TapeRestoreOptions RestoreOptionsFromSettings(const Settings& settings) {
  TapeRestoreOptions options;
  options.retain_labels = settings.RetainTapeLabels != 0;
  options.retain_format = settings.RetainPrinterFormat != 0;
  options.remove_line_numbers = settings.RemoveLineNumbers != 0;
  options.type_dirs = settings.TapeRestoreToTypeDirs != 0;
  options.user_files_only = settings.TapeRestoreUserFilesOnly != 0;
  return options;
}

TransferSettings TransferSettingsOf(const AppState& state) {
  TransferSettings out;
  out.retain_format = state.settings.RetainPrinterFormat != 0;
  out.remove_line_numbers = state.settings.RemoveLineNumbers != 0;
  out.tape_blocking_factor = state.settings.TapeBlockingFactor;
  out.restore = RestoreOptionsFromSettings(state.settings);
  out.tape = TapeBindingsOf(state);
  return out;
}

TransferServices MakeTransferServices(AppState& state, Interaction& ui, CCopyFilesSink& progress,
                                      TransferViews views, CTapeProgressSink* tape_progress) {
  return TransferServices{
      state,
      ui,
      progress,
      views,
      tape_progress,
      [&state](char letter) { return MakeBoundFloppyDrive(state, letter); },
      [&state] { return TransferSettingsOf(state); }};
}

}  // namespace kelvo
