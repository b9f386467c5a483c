// Tape menu: "Save Tape Image..." and "Write Tape Image...".
#pragma once

namespace kelvo::gui {

struct ShellHost;

// Asks for a drive and an image file, then reads the whole tape into the
// image (`save`) or writes the image onto the tape, in a progress window
// with an Abort button.
void RunTapeImaging(const ShellHost& host, bool save);

}  // namespace kelvo::gui
