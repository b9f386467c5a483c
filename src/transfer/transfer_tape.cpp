// PC folder to labelled tape and labelled tape to PC folder: the tape
// writer and the tape restore in list mode (an empty file specification),
// which takes the selected names in any order.
#include "tape/labelled_tape.h"
#include "transfer/transfer_routines.h"

namespace kelvo {
namespace {

TapeContext TapeContextOf(TransferRun& run) {
  return TapeContext{run.Ui(), run.State().TapeBusy, run.settings.tape};
}

}  // namespace

ErrorCode PcToTape(TransferRun& run, const std::string& source, const std::string& destination) {
  if (!run.services.tape_progress) return ERR_INVALID_FUNCTION;
  TransferState& state = run.State();
  TapeWriteOptions options;
  options.blocking_factor = run.settings.tape_blocking_factor;
  options.numbering = LineNumbering{state.LineNumberStart, state.LineNumberIncrement};
  return WriteLabelledTape(TapeContextOf(run), destination, FolderText(source),
                           state.TransferSelection, options, *run.services.tape_progress);
}

ErrorCode TapeToPc(TransferRun& run, const std::string& source, const std::string& destination) {
  if (!run.services.tape_progress) return ERR_INVALID_FUNCTION;
  TapeRestoreReport restored;
  const ErrorCode rc = RestoreLabelledTape(TapeContextOf(run), source, destination, "",
                                           run.State().TransferSelection, run.settings.restore,
                                           *run.services.tape_progress, &restored);
  run.report.copied = restored.restored;
  // Files cut short or names not found were shown by the restore.
  if (restored.outcome.Failed()) run.report.shown = true;
  return rc;
}

}  // namespace kelvo
