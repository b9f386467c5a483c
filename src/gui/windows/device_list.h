// The devices that get a button on the device bar: the floppy drives and tape
// drives the device table marks present, with the device strings bound to them.
#pragma once

#include <QString>
#include <vector>

#include "app/app_state.h"

namespace kelvo::gui {

struct PresentDevice {
  QString name;          // "A:", "B:", "Tape0" ... "Tape3"
  QString device;        // the device string it is bound to
  bool tape = false;
  bool three_and_half = true;  // floppies: a 3.5-inch drive
  QString Label() const;       // the button's text
};

// The place text of a floppy window, "Floppy Drive A:": it ends with the
// drive letter and colon, which is what a transfer takes the drive from.
QString FloppyPlaceText(const PresentDevice& device);

// The present floppy and tape drives of the device table in `state`.
std::vector<PresentDevice> PresentDevices(const AppState& state);

}  // namespace kelvo::gui
