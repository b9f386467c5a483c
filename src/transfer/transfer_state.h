// What a transfer takes from the running program: the run-time state it
// reads and sets, and the settings and tape bindings in effect. The
// application state holds the first; src/app makes the second from the
// settings.
#pragma once

#include <string>
#include <vector>

#include "tape/labelled_tape.h"
#include "tape/tape_open.h"

namespace kelvo {

// The run-time state a transfer reads and sets.
struct TransferState {
  // The names to copy, in order.
  std::vector<std::string> TransferSelection;
  // Set while a floppy transfer or a floppy delete runs.
  bool CopyInProgress = false;
  bool TapeBusy = false;
  int LineNumberStart = 0;
  int LineNumberIncrement = 0;
};

// The settings a transfer reads, taken when it starts.
struct TransferSettings {
  bool retain_format = false;        // "Retain MQS Format"
  bool remove_line_numbers = false;  // "Remove Line Numbers"
  int tape_blocking_factor = 16;     // "Tape Blocking Factor"
  TapeRestoreOptions restore;        // the options of a tape-to-PC copy
  TapeBindings tape;                 // Tape0 ... Tape3 and their devices
};

}  // namespace kelvo
