// The one place where the engine's drives, tape contexts and options are
// made from the application state: the settings, and the device strings in
// effect for the run. Both front ends use these.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "media/floppy_drive.h"
#include "tape/labelled_tape.h"
#include "tape/tape_commands.h"
#include "transfer/transfer_engine.h"

namespace kelvo {

// The drive of floppy letter `letter` (any case) bound to `device` (a
// device string; empty: the letter's default). Null when the device string
// is unusable.
std::unique_ptr<CFloppyDrive> MakeFloppyDrive(char letter, const std::string& device);

// A drive maker over the drives `devices` binds (upper-case letter to
// device string); a letter not among them makes no drive.
FloppyDriveMaker MakeFloppyDriveMaker(std::map<char, std::string> devices);

// The drive of A or B (any case) with the device string the run binds to
// it; null for another letter or an unusable device string.
std::unique_ptr<CFloppyDrive> MakeBoundFloppyDrive(const AppState& state, char letter);

// Tape0 ... Tape3 bound as the run binds them.
TapeBindings TapeBindingsOf(const AppState& state);

// The tape context of the run: its bindings and its TapeBusy flag.
TapeContext MakeTapeContext(AppState& state, Interaction& ui);

// The restore options the settings give: "Retain Tape Labels", "Retain MQS
// Format", "Remove Line Numbers", "TapeRestoreToTypeDirs" and
// "TapeRestoreUserFilesOnly".
TapeRestoreOptions RestoreOptionsFromSettings(const Settings& settings);

// What a transfer reads of the settings and bindings, taken now.
TransferSettings TransferSettingsOf(const AppState& state);

// The services of a transfer over `state`: the floppy drives the run binds
// and the settings as they are when the transfer starts. The caller may
// replace make_drive.
TransferServices MakeTransferServices(AppState& state, Interaction& ui, CCopyFilesSink& progress,
                                      TransferViews views = {},
                                      CTapeProgressSink* tape_progress = nullptr);

}  // namespace kelvo
