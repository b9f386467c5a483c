// The "Restore Files from Tape" request: its fields, their initial values
// from the settings, the settings it stores, and the checks of its input in
// their order. Both front ends (the desktop dialog and kdu) use these.
#pragma once

#include <cstddef>
#include <string>

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
// preselected format. `Settings` is the program's settings structure.
template <class Settings>
TapeRestoreRequest InitialRestoreRequest(const Settings& s, const std::string& first_drive) {
  TapeRestoreRequest r;
  r.source_drive = first_drive;
  r.destination = s.TapeRestorePath;
  r.type_dirs = s.TapeRestoreToTypeDirs != 0;
  r.user_files_only = s.TapeRestoreUserFilesOnly != 0;
  r.format = TapeFormatFromSetting(s.DefaultTapeFormat);
  return r;
}

// OK, first step: the fields go into the settings at once, before any check.
template <class Settings>
void StoreRestoreRequest(const TapeRestoreRequest& r, Settings& s) {
  s.TapeRestoreToTypeDirs = r.type_dirs ? 1 : 0;
  s.TapeRestoreUserFilesOnly = r.user_files_only ? 1 : 0;
  s.TapeRestorePath = r.destination;
  s.DefaultTapeFormat = r.format == TapeFormat::Labelled ? 0 : r.format == TapeFormat::Unlabelled ? 1 : 2;
}

// "Browse...": after the "Select Directory" dialog's OK the destination is
// the folder that dialog left in "Tape Restore Path".
template <class Settings>
void ApplyChosenFolder(TapeRestoreRequest& r, const Settings& s) {
  r.destination = s.TapeRestorePath;
}

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

}  // namespace kelvo
