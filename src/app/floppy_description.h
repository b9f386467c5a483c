// How a floppy drive bound to a device string is shown in the device table.
#pragma once

#include <string>

namespace kelvo {

struct FloppyDescription {
  bool exists = false;  // the drive is there (its medium may be missing)
  bool emulated = false;
  int drive_form = 0;   // kDriveForm...
  std::string display_name;
};

// Describes drive `letter` ('A' or 'B') bound to `device`:
// - "emu:PATH[,form=3.5|5.25][,wp]": always there (an emulated drive may be
//   empty); form=5.25 gives "5¼ Floppy (A:)" and form 1, otherwise
//   "3½ Floppy (A:)" and form 2;
// - any other path: there when the path exists; a 3.5-inch drive.
// This is worked out from the device string alone.
FloppyDescription DescribeFloppyDevice(const std::string& device, char letter);

}  // namespace kelvo
