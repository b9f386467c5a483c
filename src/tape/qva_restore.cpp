// RestoreQvaTape: the drive, the progress window and the volume prompts
// around the walk of the tape.
#include "tape/qva_restore.h"

#include <array>
#include <memory>
#include <new>

#include "tape/qva_walk.h"

namespace kelvo {

ErrorCode OfferNextQvaTape(CTapeDevice& tape, bool image_set) {
  const ErrorCode rc = tape.MountNextVolume();
  if (rc == ERR_OK) return ERR_OK;
  if (rc == ERR_NO_MEDIA_IN_DRIVE) return image_set ? ERR_TAPE_RESTORE_CANCELLED : ERR_OK;
  return rc;
}

ErrorCode MountNextQvaVolume(CTapeDevice& tape, int& volume, Interaction& ui, bool image_set) {
  tape.RewindTape(false);
  const std::string prompt =
      "Mount QVA Volume " + std::to_string(volume + 1) + ". \nClick OK to continue, Cancel to abort.";
  std::array<std::uint8_t, kQvaSectorSize> block{};
  for (int asked = 0; asked < kQvaMaxVolumePrompts; ++asked) {
    if (ErrorCode rc = OfferNextQvaTape(tape, image_set)) return rc;
    ui.Beep(BeepKind::Exclamation);
    if (ui.Ask(prompt, "", Buttons::OkCancel, Icon::Exclamation) != Button::Ok) {
      return ERR_TAPE_RESTORE_CANCELLED;
    }
    ErrorCode rc = tape.RewindTape(false);
    if (rc != ERR_OK && rc != kQvaMediaChanged) return rc;
    std::size_t length = 0;
    rc = tape.ReadBlock(block.data(), block.size(), length);
    // A tape whose first block is larger than a control record is another
    // tape, not a failure: ask again.
    if (rc == ERR_MORE_DATA) continue;
    if (rc != ERR_OK) return rc;
    if (length == kQvaControlRecordSize && QvaContinuationVolume(block.data()) == volume + 1) {
      ++volume;
      return ERR_OK;
    }
  }
  return ERR_UNRECOGNIZED_MEDIA;
}

namespace {

// The tape work of a restore, from opening the drive to closing it, with
// TapeBusy set. `shown` tells whether the progress window was used.
ErrorCode RestoreWithDrive(const TapeContext& ctx, const std::string& drive,
                           const std::string& destination, const std::string& spec,
                           const QvaRestoreOptions& options, CQvaProgressSink& progress,
                           QvaRestoreReport& report, bool& shown) {
  std::unique_ptr<CTapeDevice> tape = OpenTape(ctx, drive);
  if (!tape) return ERR_TAPE_OPEN;
  CTapeBusyScope busy(ctx.tape_busy);
  if (ErrorCode status = TapeReadyCheck(*tape)) return status;
  const bool image_set = IsTapImageDevice(ResolveTapeDevice(drive, ctx.bindings));
  CQvaWalk walk(ctx, *tape, image_set, options, spec, progress, report);

  shown = true;
  progress.StartClock();
  progress.SetOutputDirectory(destination);
  progress.SetStatus("Rewinding tape.");
  ErrorCode result = tape->RewindTape(false);
  COutputFolder folder;
  if (result == ERR_OK && (result = folder.Open(destination)) == ERR_OK) {
    progress.ClearAbortRequest();
    tape->SetBlockSize(0);
    progress.SetStatus("Analysing tape.");
    result = walk.Run(folder);
  }
  const bool aborted = walk.Aborted();
  progress.StopClock();
  progress.SetProgress(0);
  progress.SetCurrentFile("");
  progress.SetOutputDirectory(destination);
  progress.SetStatus(aborted ? "Restore aborted." : "Done.");
  tape->RewindTape(true);
  tape->Close();
  return aborted ? ERR_TAPE_RESTORE_CANCELLED : result;
}

}  // namespace

ErrorCode RestoreQvaTape(const TapeContext& ctx, const std::string& drive,
                         const std::string& destination, const std::string& spec,
                         const QvaRestoreOptions& options, CQvaProgressSink& progress,
                         QvaRestoreReport* report) {
  QvaRestoreReport local_report;
  ctx.ui.PumpMessages();
  bool shown = false;
  ErrorCode result;
  try {
    result = RestoreWithDrive(ctx, drive, destination, spec, options, progress,
                              report ? *report : local_report, shown);
  } catch (const std::bad_alloc&) {
    ctx.tape_busy = false;
    result = ERR_NOT_ENOUGH_MEMORY;
  }
  if (shown && !progress.AbortRequested()) {
    ShowRestoreOutcome(ctx.ui, (report ? *report : local_report).outcome);
  }
  if (shown) progress.WaitForClose();
  return result;
}

}  // namespace kelvo
