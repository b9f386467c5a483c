// The devices that get a button on the device bar: floppy drives A: and B:
// and tape drives Tape0 to Tape3 that are present, with their bindings.
#pragma once

#include <QString>
#include <vector>

namespace kelvo::gui {

struct DeviceEntry {
  QString name;          // "A:", "B:", "Tape0" ... "Tape3"
  QString device;        // the device string it is bound to
  bool tape = false;
  bool three_and_half = true;  // floppies: a 3.5-inch drive
  QString Label() const;       // the button's text
};

// The place text of a floppy window: ends with the drive's root ("A:\\").
QString FloppyPlaceText(const DeviceEntry& device);

// Device strings given on the command line; empty means the default binding.
struct DeviceBindings {
  QString drive_a, drive_b;
  QString tape[4];
};

// The present devices for these bindings.
std::vector<DeviceEntry> EnumerateDevices(const DeviceBindings& bindings);

}  // namespace kelvo::gui
