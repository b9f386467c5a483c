// The "Restore Files from Tape" request: its fields, their initial values
// from the settings, the settings it stores, and the checks of its input in
// their order. Both front ends (the desktop dialog and kdu) use these.
#pragma once

#include <cstddef>
#include <string>

#include "app/settings.h"
#include "tape/labelled_tape.h"
#include "tape/qva_restore.h"

namespace kelvo {

enum class TapeFormat { Labelled = 0, Unlabelled = 1, Qva = 2 };

struct TapeRestoreRequest {
  std::string source_drive;  // "Tape0" ...
  std::string file_spec = "*.*";
  std::string destination;
  bool type_dirs = false;
  bool user_files_only = false;
  TapeFormat format = TapeFormat::Labelled;
};

// The tape format preselected by the "DefaultTapeFormat" setting: 0
// labelled, 1 unlabelled, 2 QVA, anything else labelled.
TapeFormat TapeFormatFromSetting(int value);

// The request as the dialog opens: "*.*", the "Tape Restore Path" (kept as
// it is: PC paths are case-sensitive here), the two restore options and the
// preselected format.
TapeRestoreRequest InitialRestoreRequest(const Settings& settings, const std::string& first_drive);

// OK, first step: the fields go into the settings at once, before any check.
void StoreRestoreRequest(const TapeRestoreRequest& request, Settings& settings);

// "Browse...": after the "Select Directory" dialog's OK the destination is
// the folder that dialog left in "Tape Restore Path".
void ApplyChosenFolder(TapeRestoreRequest& request, const Settings& settings);

// The outcome of a check: empty message when the input passes; otherwise the
// message (shown with the warning icon), the field that gets the focus and
// the part of its text to select.
struct RequestCheck {
  enum class Field { None, Destination, FileName };
  std::string message;
  Field field = Field::None;
  std::size_t select_start = 0;
  std::size_t select_length = 0;

  bool ok() const { return message.empty(); }
};

// The destination must be a folder the program can enter.
RequestCheck CheckRestoreDestination(const std::string& destination);

// The file specification checks, in order; with the unlabelled format only
// the length and "." checks apply.
RequestCheck CheckFileSpecification(const std::string& spec, TapeFormat format);

// Both, destination first: the first failure, or an empty message.
RequestCheck CheckRestoreRequest(const TapeRestoreRequest& request);

// The progress windows and reports of the two restores a request can run.
struct TapeRestoreRun {
  CTapeProgressSink& labelled_progress;
  CQvaProgressSink& qva_progress;
  TapeRestoreReport* labelled_report = nullptr;
  QvaRestoreReport* qva_report = nullptr;
};

// Runs the restore a checked request asks for: a labelled restore of the
// files matching the specification, a QVA restore, or nothing for the
// unlabelled format. The settings give the options the restores read
// ("Retain MQS Format", "Remove Line Numbers", "Retain Tape Labels"). The
// result has not been shown: the caller shows a nonzero one once.
ErrorCode RunTapeRestoreRequest(const TapeContext& ctx, const TapeRestoreRequest& request,
                                const Settings& settings, TapeRestoreRun& run);

}  // namespace kelvo
