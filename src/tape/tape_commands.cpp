#include "tape/tape_commands.h"

#include <new>
#include <vector>

namespace kelvo {
namespace {

// Media parameters with the write-protect question: 0 to go on, kDeclined
// when the user cancelled at the write-protect message, else the error.
constexpr ErrorCode kDeclined = 0xFFFFFFFF;

ErrorCode CheckWritable(Interaction& ui, CTapeDevice& tape, bool report_errors) {
  for (;;) {
    TapeMediaParameters media;
    ErrorCode rc = tape.GetMediaParameters(media);
    if (rc != ERR_OK && !(report_errors && rc == 1110)) {
      if (!report_errors) return rc;
      if (ui.ReportError(rc) == Button::Retry) continue;
      return rc;
    }
    if (!media.write_protected) return ERR_OK;
    if (ui.ReportError(ERR_WRITE_PROTECT) != Button::Retry) return kDeclined;
  }
}

}  // namespace

std::unique_ptr<CTapeDevice> OpenTape(const TapeContext& ctx, const std::string& name) {
  std::unique_ptr<CTapeDevice> tape;
  const std::string device = ResolveTapeDevice(name, ctx.bindings);
  if (ctx.bindings.open)
    ctx.bindings.open(device, tape);
  else
    OpenTapeDevice(device, tape);
  return tape;
}

void ShowTapeOpenFailure(Interaction& ui) {
  ui.Beep(BeepKind::Exclamation);
  ui.Ask(kTapeOpenFailedText, kAppTitle, Buttons::Ok, Icon::Exclamation);
}

ErrorCode TapeReadyCheck(CTapeDevice& tape) {
  ErrorCode status = ERR_OK;
  for (int attempt = 0; attempt < 2; ++attempt) {
    status = tape.GetTapeStatus();
    if (status == ERR_OK || status == 1110) return ERR_OK;
  }
  return status;
}

ErrorCode RewindTape(const TapeContext& ctx, const std::string& name) {
  return SingleAction(ctx, name, [](CTapeDevice& t) { return t.RewindTape(true); });
}

ErrorCode UnloadTape(const TapeContext& ctx, const std::string& name) {
  return SingleAction(ctx, name,
                      [](CTapeDevice& t) { return t.PrepareTape(TapePrepareOperation::Unload, true); });
}

ErrorCode LoadTape(const TapeContext& ctx, const std::string& name) {
  return SingleAction(ctx, name,
                      [](CTapeDevice& t) { return t.PrepareTape(TapePrepareOperation::Load, true); });
}

ErrorCode RetensionTape(const TapeContext& ctx, const std::string& name) {
  return SingleAction(ctx, name, [](CTapeDevice& t) {
    return t.PrepareTape(TapePrepareOperation::Tension, true);
  });
}

ErrorCode InitialiseTape(const TapeContext& ctx, const std::string& name) {
  CTapeBusyScope busy(ctx.tape_busy);
  std::unique_ptr<CTapeDevice> tape = OpenTape(ctx, name);
  if (!tape) return ERR_TAPE_OPEN;
  if (ErrorCode status = TapeReadyCheck(*tape)) return status;
  ErrorCode rc = CheckWritable(ctx.ui, *tape, false);
  if (rc == kDeclined) return ERR_OK;
  if (rc != ERR_OK) return rc;
  rc = tape->RewindTape(false);
  if (rc == ERR_OK) rc = tape->WriteTapemark(2, false);
  if (rc == ERR_OK) rc = tape->RewindTape(false);
  return rc;
}

ErrorCode EraseTapeMedia(const TapeContext& ctx, const std::string& name) {
  std::unique_ptr<CTapeDevice> tape = OpenTape(ctx, name);
  if (!tape) {
    ShowTapeOpenFailure(ctx.ui);
    return ERR_TAPE_OPEN;
  }
  CTapeBusyScope busy(ctx.tape_busy);
  if (ErrorCode status = TapeReadyCheck(*tape)) return status;
  ErrorCode rc = CheckWritable(ctx.ui, *tape, true);
  if (rc == kDeclined) return ERR_OK;
  if (rc != ERR_OK) return rc;
  rc = tape->RewindTape(false);
  if (rc == ERR_OK) rc = tape->EraseTape(false);
  if (rc == ERR_OK) rc = tape->RewindTape(false);
  return rc;
}

ErrorCode SpaceToEndOfData(CTapeDevice& tape) {
  TapeDriveParameters drive;
  if (ErrorCode rc = tape.GetDriveParameters(drive)) return rc;
  std::vector<std::uint8_t> buffer;
  try {
    buffer.resize(drive.maximum_block_size ? drive.maximum_block_size : 65536);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  int filemarks = 0;
  bool data_seen = false;
  for (;;) {
    std::size_t n = 0;
    ErrorCode rc = tape.ReadBlock(buffer.data(), buffer.size(), n);
    if (rc == ERR_OK) {
      data_seen = true;
      filemarks = 0;
      continue;
    }
    if (rc == ERR_FILEMARK_DETECTED) {
      if (++filemarks == 2) break;
      continue;
    }
    if (rc == ERR_NO_DATA_DETECTED) {
      if (!data_seen) return tape.RewindTape(true);  // a blank tape
      // Recorded data without the closing filemarks: append after it.
      return filemarks == 0 ? tape.WriteTapemark(1, false) : ERR_OK;
    }
    return rc;
  }
  if (!data_seen) return tape.RewindTape(true);  // an initialised, empty tape
  return tape.SpaceFilemarks(-1, false);
}

}  // namespace kelvo
