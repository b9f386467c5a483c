// The transfer engine: copies the selected files from one place to another.
//
// TransferFiles picks the routine for the pair of place kinds and runs it:
//
//   source \ destination   PC folder    floppy         tape           disk image
//   PC folder              nothing      PC to floppy   labelled write PC to image
//   floppy                 to PC        to floppy      not impl.      not impl.
//   tape                   restore      not impl.      not impl.      not impl.
//   disk image             to PC        not impl.      nothing        not impl.
//
// The names to copy are the state's TransferSelection, in order.
// A routine that can repeat a failed step shows the failure itself and
// repeats while the answer is Retry; when the user declines it returns 0
// (the failure has been shown). Any other failure is returned for the
// caller to show once. Files copied before a failure stay copied.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/interaction.h"
#include "media/floppy_drive.h"
#include "transfer/transfer_places.h"
#include "transfer/transfer_progress.h"
#include "transfer/transfer_state.h"

namespace kelvo {

class CTapeProgressSink;

inline constexpr const char* kNotImplementedText = "Function Not Yet Implemented";

// Makes the drive of a floppy letter; null when its device string is
// unusable.
using FloppyDriveMaker = std::function<std::unique_ptr<CFloppyDrive>(char letter)>;

// What a transfer needs from the running program (src/app makes it from the
// application state: MakeTransferServices).
struct TransferServices {
  TransferState& state;
  Interaction& ui;
  CCopyFilesSink& progress;
  // The open views of the source and the destination, as the caller
  // knows them; a delete from a floppy keeps its destination in step.
  TransferViews views;
  // The tape progress window of the tape routines (required for them).
  CTapeProgressSink* tape_progress = nullptr;
  // Makes the floppy drives; empty: no floppy place can be used.
  FloppyDriveMaker make_drive;
  // The settings in effect, read when a transfer starts; empty: the defaults.
  std::function<TransferSettings()> settings;
};

// What a transfer did besides its result.
struct TransferReport {
  int copied = 0;          // files written to the destination (deleted, for a delete)
  bool shown = false;      // a failure was shown to the user (result 0)
  bool cancelled = false;  // stopped by Cancel after a file
  bool Failed(ErrorCode result) const { return result != ERR_OK || shown; }
};

// Whether a transfer between places of these kinds has nothing to do (PC
// folder to PC folder, disk image to tape): it ends at once with 0.
bool NothingToTransfer(PlaceKind source_kind, PlaceKind destination_kind);

// Copies state.TransferSelection from the source place to the destination.
ErrorCode TransferFiles(const TransferPlace& source, const TransferPlace& destination,
                        TransferServices& services, TransferReport* report = nullptr);
// The same for places named by text alone (a disk image among them has no
// document: ERR_INVALID_HANDLE).
ErrorCode TransferFiles(const std::string& source, PlaceKind source_kind,
                        const std::string& destination, PlaceKind destination_kind,
                        TransferServices& services, TransferReport* report = nullptr);
// The same with kinds as numbers; a kind outside 0 to 3 returns 0.
ErrorCode TransferFiles(const std::string& source, int source_kind,
                        const std::string& destination, int destination_kind,
                        TransferServices& services, TransferReport* report = nullptr);

// Deletes state.TransferSelection from the floppy of `place` (after the
// caller's confirmation): names not on the disk are passed over; the first
// failure ends it with its code.
ErrorCode DeleteFloppySelection(const std::string& place, TransferServices& services,
                                TransferReport* report = nullptr);

}  // namespace kelvo
