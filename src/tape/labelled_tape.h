// Writing PC files to a labelled tape and restoring them from one.
//
// Tape layout: for each file a 128-byte label block (tape_label.h), its data
// in tape blocks of blocking factor x 512 bytes (the last one zero-padded to
// a multiple of 512), and a filemark; after the last file a second filemark.
// Source files travel as 80-byte records, six to 512 bytes.
//
// Both operations show their progress through a CTapeProgressSink, keep
// TapeBusy set while they own the drive, rewind the tape at the end, and
// return only after the sink's WaitForClose.
#pragma once

#include <string>
#include <vector>

#include "filetypes/source_conversion.h"
#include "tape/tape_commands.h"
#include "tape/tape_label.h"
#include "tape/restore_outcome.h"
#include "tape/tape_progress.h"

namespace kelvo {

struct TapeWriteOptions {
  int blocking_factor = 16;     // "Tape Blocking Factor": 1 to 128
  LineNumbering numbering{0, 0};  // LineNumberStart, LineNumberIncrement
};

// Writes `names` (each found in `source_folder`, in order) to the end of the
// labelled tape in drive `drive`. 0, or the error that ended the writing.
ErrorCode WriteLabelledTape(const TapeContext& ctx, const std::string& drive,
                            const std::string& source_folder, const std::vector<std::string>& names,
                            const TapeWriteOptions& options, CTapeProgressSink& progress);

// The three writers of one file (label and data blocks) on an open tape.
ErrorCode WriteTapeTextFile(CTapeDevice& tape, const std::string& path,
                            const TapeWriteOptions& options, CTapeProgressSink& progress,
                            Interaction& ui);
ErrorCode WriteTapeBinaryFile(CTapeDevice& tape, const std::string& path,
                              const TapeWriteOptions& options, CTapeProgressSink& progress,
                              Interaction& ui);
ErrorCode WriteTapeRecordFile(CTapeDevice& tape, const std::string& path,
                              const TapeWriteOptions& options, CTapeProgressSink& progress,
                              Interaction& ui);

struct TapeRestoreOptions {
  bool retain_labels = false;        // "Retain Tape Labels"
  bool retain_format = false;        // "Retain MQS Format"
  bool remove_line_numbers = false;  // "Remove Line Numbers"
  bool type_dirs = false;            // "TapeRestoreToTypeDirs"
  bool user_files_only = false;      // "TapeRestoreUserFilesOnly"
};

// What a restore did besides its result.
struct TapeRestoreReport {
  int restored = 0;  // files restored whole
  RestoreOutcome outcome;
};

// Restores into `destination` either the files matching `spec` (wildcards
// "*" and "?"), or, with an empty spec, the files named in `selection`, in
// any order (list mode): each mention of a name takes the next file of that
// name on the tape, so a name given twice restores its first and then its
// second copy. Returns 0, 5009 when aborted, or the error that ended it.
// Unless aborted, the outcome (files cut short, kept as NAME.partial; names
// changed for the PC; names not found) is shown in one message before the
// progress window's WaitForClose.
ErrorCode RestoreLabelledTape(const TapeContext& ctx, const std::string& drive,
                              const std::string& destination, const std::string& spec,
                              const std::vector<std::string>& selection,
                              const TapeRestoreOptions& options, CTapeProgressSink& progress,
                              TapeRestoreReport* report = nullptr);

}  // namespace kelvo
