// Floppy drives as kdu places: "a:" and "b:" bound to their device strings.
#pragma once

#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "media/floppy_drive.h"

namespace kelvo::cli {

// True for "a:", "b:", "A:", "B:".
bool IsFloppyPlace(const std::string& place);

// The drive of a floppy place, over the device bound to its letter for this
// run (--drive-a/--drive-b, else the default). Null with a message on
// stderr when the device string is unusable.
std::unique_ptr<CFloppyDrive> OpenFloppyPlace(const CliContext& ctx, const std::string& place);

class CDiskPlace;

// Opens the printer disk in drive "a:" or "b:" as a place of the disk verbs:
// checked (Retry repeats), locked, its media type set from the disk and its
// system area read. Returns kExitOk, or the exit status after saying why.
int OpenFloppyDiskPlace(CliContext& ctx, const std::string& place,
                        std::unique_ptr<CDiskPlace>& out);

}  // namespace kelvo::cli
