// Restoring files from a QVA save tape (one or more volumes) into a PC folder.
#pragma once

#include <string>
#include <vector>

#include "tape/qva_progress.h"
#include "tape/restore_outcome.h"
#include "tape/tape_commands.h"

namespace kelvo {

struct QvaRestoreOptions {
  bool user_files_only = false;      // "TapeRestoreUserFilesOnly" as asked
  bool type_dirs = false;            // "TapeRestoreToTypeDirs"
  bool retain_format = false;        // "Retain MQS Format"
  bool remove_line_numbers = false;  // "Remove Line Numbers"
};

// A file the tape lists that was wanted but not restored, and why.
struct QvaNotRestored {
  std::string name;
  std::string reason;
};

// What a restore did besides its result.
struct QvaRestoreReport {
  int restored = 0;  // files restored whole
  std::vector<QvaNotRestored> not_restored;
  // Files cut short by the end of the tape set, a cancelled volume prompt or
  // a damaged block (kept as NAME.partial), and names changed for the PC.
  RestoreOutcome outcome;
  // The structure message shown when the tape is not a readable QVA tape
  // ("This is not a valid QVA Volume", ...); empty otherwise.
  std::string structure_error;
};

// The structure messages, shown in a box titled "Error" with the stop icon.
inline constexpr const char* kQvaNotAVolumeText = "This is not a valid QVA Volume";
inline constexpr const char* kQvaNoCharacteristicsText =
    "Expected Characteristics Block but not found";
inline constexpr const char* kQvaNoMasterFileDirectoryText =
    "Error: Expected Master File Directory but not found";

// Restores the files matching `spec` (wildcards "*" and "?"; empty means
// "*.*") from the QVA tape in drive `drive` into `destination`, walking the
// tape once from its first volume and asking for further volumes through
// ctx.ui. A specification without wildcards ends the restore after the first
// file restored.
//
// Returns 0, ERR_TAPE_OPEN when the drive cannot be opened, 5009 when the
// user aborted (or cancelled a volume prompt), or the error that ended the
// restore. The returned code has not been shown: the caller shows it once.
// Structure errors are shown here (and returned as 0, with
// report->structure_error set). Unless the user pressed Abort, the outcome
// (files kept as NAME.partial, names changed) is shown in one message.
// Returns after progress.WaitForClose once the progress window was used.
ErrorCode RestoreQvaTape(const TapeContext& ctx, const std::string& drive,
                         const std::string& destination, const std::string& spec,
                         const QvaRestoreOptions& options, CQvaProgressSink& progress,
                         QvaRestoreReport* report = nullptr);

// Asks for volume `volume` + 1 of the set until a tape whose first block is
// that volume's continuation record is mounted; then `volume` is advanced.
// `image_set`: the drive is a set of tape image files, which mount the next
// file themselves; when the set is used up the answer is Cancel. Returns 0,
// 5009 when the user cancels, or the error of a failed rewind or read.
ErrorCode MountNextQvaVolume(CTapeDevice& tape, int& volume, Interaction& ui, bool image_set);

}  // namespace kelvo
