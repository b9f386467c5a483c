#include "core/error_text.h"

#include <initializer_list>

namespace kelvo {
namespace {

enum class Box { Ok, Retry, YesNo };

struct TableRow {
  std::initializer_list<ErrorCode> codes;
  const char* text;
  Box box;
};

// The message texts are the system's own, spelling included.
const TableRow kTable[] = {
    {{1}, "Invaild function specified to driver.", Box::Ok},
    {{2}, "The system cannot find the specified file.", Box::Ok},
    {{3}, "The system cannot find the path specified.", Box::Ok},
    {{4}, "The number of files the system can open has been exceeded.", Box::Ok},
    {{5}, "Access to the file or device has been denied.", Box::Ok},
    {{6}, "Invalid handle specified.", Box::Ok},
    {{8, 14}, "Not enough storage is available to process this command.", Box::Ok},
    {{15}, "The system cannot find the drive specified.", Box::Ok},
    {{19}, "The media is write protected.", Box::Retry},
    {{20}, "The system cannot find the device specified.", Box::Ok},
    {{21}, "The selected drive is not ready.", Box::Retry},
    {{23}, "A data error (cyclic redundancy check) has occurred.", Box::Ok},
    {{25}, "A seek error has occured on the specified drive.", Box::Ok},
    {{27}, "Sector not found on floppy drive.", Box::Retry},
    {{29}, "Cannot write to the specified device.", Box::Ok},
    {{30, 1122}, "No ID address mark was found on the floppy disk.", Box::Ok},
    {{31}, "The specified device is not functioning.", Box::Ok},
    {{32}, "The specified device or file is being used by another process.", Box::Ok},
    {{33}, "The specified device or file has been locked by another process.", Box::Ok},
    {{39}, "There is insufficient disk space to complete the operation.", Box::Ok},
    {{50}, "The tape driver does not support a requested function.", Box::Ok},
    {{53, 54, 55, 58, 59, 65, 82, 88}, "A network error has occurred.", Box::Ok},
    {{80}, "Cannot rename. File already exists.", Box::Ok},
    {{108, 110}, "The disk is in use or locked by another process.", Box::Ok},
    {{123}, "Invalid file name specified", Box::Ok},
    {{132}, "A seek error has occurred on the specified device or file.", Box::Ok},
    {{234}, "Data read from tape exceeds tape buffer size.", Box::Ok},
    {{1005}, "The volume does not contain a recognized file system.", Box::Ok},
    {{1100}, "The end-of-tape marker was reached during an operation.", Box::Ok},
    {{1101}, "A filemark was reached during an operation.", Box::Ok},
    {{1102}, "An attempt to access data before the beginning-of-medium marker failed.", Box::Ok},
    {{1103}, "A setmark was reached during an operation.", Box::Ok},
    {{1104}, "The end-of-data marker was reached during an operation.", Box::Ok},
    {{1105}, "The tape could not be partitioned.", Box::Ok},
    {{1106}, "The block size is incorrect on a new tape in a multivolume partition.", Box::Ok},
    {{1107}, "The partition information could not be found when a tape was being loaded.",
     Box::Ok},
    {{1108}, "An attempt to lock the ejection mechanism failed.", Box::Ok},
    {{1109}, "An attempt to unload the tape failed.", Box::Ok},
    {{1110}, "The tape that was in the drive has been replaced or removed.", Box::Ok},
    {{1111}, "A reset condition was detected on the bus.", Box::Ok},
    {{1112}, "There is no media loaded in the current drive.", Box::Retry},
    {{1123},
     "Mismatch between the floppy disk sector ID field and the floppy disk controller track "
     "address.",
     Box::Ok},
    {{1124},
     "The floppy disk controller reported an error that is not recognized by the floppy disk "
     "driver.",
     Box::Ok},
    {{1125}, "The floppy disk controller returned inconsistent results in its registers.",
     Box::Ok},
    {{1785}, "The disk media is not recognized.  It may not be formatted.", Box::Ok},
    {{5000}, "Cannot access the selected drive.", Box::Ok},
    {{5002}, "The media is not in Kelvo format. Would you like to format it now?", Box::YesNo},
    {{5003}, "The current file type directory is full.", Box::Ok},
    {{5005}, "High density diskettes are not supported.", Box::Retry},
    {{5006}, "The file is not a valid Kelvo disk image.", Box::Ok},
    {{5007}, "The media types for the source and destination do not match.", Box::Ok},
    {{5008}, "The tape drive is either not present or is in use.", Box::Ok},
    {{5009}, "Tape restore cancelled at user's request.", Box::Ok},
};

const TableRow* FindRow(ErrorCode code) {
  for (const TableRow& row : kTable) {
    for (ErrorCode c : row.codes) {
      if (c == code) return &row;
    }
  }
  return nullptr;
}

}  // namespace

std::string GetErrorText(ErrorCode code) {
  if (const TableRow* row = FindRow(code)) return row->text;
  return "Error message not available (" + std::to_string(code) + ")";
}

ErrorRow GetErrorRow(ErrorCode code) {
  const TableRow* row = FindRow(code);
  if (row == nullptr) return {GetErrorText(code), Buttons::RetryCancel, Icon::Exclamation};
  switch (row->box) {
    case Box::Ok:
      return {row->text, Buttons::Ok, Icon::Exclamation};
    case Box::Retry:
      return {row->text, Buttons::RetryCancel, Icon::Exclamation};
    case Box::YesNo:
      return {row->text, Buttons::YesNo, Icon::None};
  }
  return {row->text, Buttons::Ok, Icon::Exclamation};
}

Button Interaction::ReportError(ErrorCode code) {
  ErrorRow row = GetErrorRow(code);
  if (row.icon == Icon::Exclamation) Beep(BeepKind::Exclamation);
  return Ask(row.text, kAppTitle, row.buttons, row.icon);
}

}  // namespace kelvo
