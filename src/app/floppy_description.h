// How a floppy drive bound to a device string is shown in the device table.
#pragma once

#include <memory>
#include <string>

namespace kelvo {

class CFloppySyscalls;

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
// - any other path: the drive itself is asked what it is (the drive
//   description of CFloppyDrive: FDGETDRVTYP on the floppy driver, the PC's
//   3.5-inch formats for a plain block device); a device that cannot be
//   opened is not there. `calls` stands in for the kernel in tests.
FloppyDescription DescribeFloppyDevice(const std::string& device, char letter,
                                       std::shared_ptr<CFloppySyscalls> calls = nullptr);

}  // namespace kelvo
