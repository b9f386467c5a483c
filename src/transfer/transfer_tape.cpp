// PC folder to labelled tape and labelled tape to PC folder: the tape
// writer and the tape restore in list mode (an empty file specification),
// which takes the selected names in any order.
#include "tape/labelled_tape.h"
#include "transfer/transfer_routines.h"

namespace kelvo {
namespace {

TapeContext TapeContextOf(TransferRun& run) {
  AppState& state = run.State();
  TapeContext ctx{run.Ui(), state.TapeBusy, TapeBindings{}};
  for (int i = 0; i < kTapeDriveCount; ++i) {
    if (!state.Bindings.tape[i].empty()) ctx.bindings.device[i] = state.Bindings.tape[i];
  }
  return ctx;
}

}  // namespace

ErrorCode PcToTape(TransferRun& run, const std::string& source, const std::string& destination) {
  if (!run.services.tape_progress) return ERR_INVALID_FUNCTION;
  AppState& state = run.State();
  TapeWriteOptions options;
  options.blocking_factor = state.settings.TapeBlockingFactor;
  options.numbering = LineNumbering{state.LineNumberStart, state.LineNumberIncrement};
  return WriteLabelledTape(TapeContextOf(run), destination, FolderText(source),
                           state.TransferSelection, options, *run.services.tape_progress);
}

ErrorCode TapeToPc(TransferRun& run, const std::string& source, const std::string& destination) {
  if (!run.services.tape_progress) return ERR_INVALID_FUNCTION;
  AppState& state = run.State();
  TapeRestoreOptions options;
  options.retain_labels = state.settings.RetainTapeLabels != 0;
  options.retain_format = state.settings.RetainPrinterFormat != 0;
  options.remove_line_numbers = state.settings.RemoveLineNumbers != 0;
  options.type_dirs = state.settings.TapeRestoreToTypeDirs != 0;
  options.user_files_only = state.settings.TapeRestoreUserFilesOnly != 0;
  TapeRestoreReport restored;
  const ErrorCode rc =
      RestoreLabelledTape(TapeContextOf(run), source, destination, "", state.TransferSelection,
                          options, *run.services.tape_progress, &restored);
  run.report.copied = restored.restored;
  // Files cut short or names not found were shown by the restore.
  if (restored.outcome.Failed()) run.report.shown = true;
  return rc;
}

}  // namespace kelvo
