// The tape commands: opening a drive, the ready check, the single-action
// commands of the "Tape" menu, initialising and erasing a tape, and
// positioning a labelled tape for appending.
#pragma once

#include <memory>
#include <string>

#include "core/interaction.h"
#include "tape/tape_device.h"
#include "tape/tape_open.h"

namespace kelvo {

// What every tape operation needs from the running program. `tape_busy` is
// the program's TapeBusy flag: set while an operation owns a drive and
// cleared on every way out.
struct TapeContext {
  Interaction& ui;
  bool& tape_busy;
  TapeBindings bindings;
};

// Sets TapeBusy for its lifetime.
class CTapeBusyScope {
 public:
  explicit CTapeBusyScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~CTapeBusyScope() { flag_ = false; }
  CTapeBusyScope(const CTapeBusyScope&) = delete;
  CTapeBusyScope& operator=(const CTapeBusyScope&) = delete;

 private:
  bool& flag_;
};

// The message shown when a drive cannot be opened.
inline constexpr const char* kTapeOpenFailedText = "The tape drive is either not present or is in use.";

// Opens the drive `name` ("Tape0" ... or a device string); empty when it
// cannot be opened.
std::unique_ptr<CTapeDevice> OpenTape(const TapeContext& ctx, const std::string& name);

// Shows kTapeOpenFailedText with the warning icon.
void ShowTapeOpenFailure(Interaction& ui);

// The ready check: status 0 or 1110 is ready; one more try after a failure.
// Returns 0 when ready, else the last status.
ErrorCode TapeReadyCheck(CTapeDevice& tape);

// Opens the drive `name`, marks it busy, checks it is ready, runs `action`
// on it and closes it.
template <typename Action>
ErrorCode SingleAction(const TapeContext& ctx, const std::string& name, Action action) {
  std::unique_ptr<CTapeDevice> tape = OpenTape(ctx, name);
  if (!tape) return ERR_TAPE_OPEN;
  CTapeBusyScope busy(ctx.tape_busy);
  ErrorCode rc = TapeReadyCheck(*tape);
  if (rc == ERR_OK) rc = action(*tape);
  tape->Close();
  return rc;
}

ErrorCode RewindTape(const TapeContext& ctx, const std::string& name);
ErrorCode UnloadTape(const TapeContext& ctx, const std::string& name);
ErrorCode LoadTape(const TapeContext& ctx, const std::string& name);
ErrorCode RetensionTape(const TapeContext& ctx, const std::string& name);
// Makes the tape an empty labelled tape: two filemarks at its beginning.
ErrorCode InitialiseTape(const TapeContext& ctx, const std::string& name);
// Long erase of the whole tape.
ErrorCode EraseTapeMedia(const TapeContext& ctx, const std::string& name);

// Positions an open, rewound tape in variable-block mode for appending files
// to it:
//  - two consecutive filemarks after data: between them, so that the next
//    write replaces the second;
//  - an initialised empty tape (two filemarks, no data) or a blank tape:
//    rewound, so that writing starts at the beginning;
//  - the end of data after data without two closing filemarks (a tape whose
//    writing was interrupted): after the recorded data, closing the last file
//    with a filemark when it has none, so that nothing recorded is replaced.
ErrorCode SpaceToEndOfData(CTapeDevice& tape);

}  // namespace kelvo
