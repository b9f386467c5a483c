// Binding tape drive names to devices and opening them.
//
// A drive name "Tape0" ... "Tape3" is bound to a device string (settings
// "Tape0 Device" ...; defaults /dev/nst0 ... /dev/nst3). A device string is
// either a SCSI tape device or one or more tape image files ending in ".tap",
// separated by commas (the volumes of a multi-volume set).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "media/device_table.h"
#include "tape/tape_device.h"

namespace kelvo {

class CTapeSyscalls;

struct TapeBindings {
  std::string device[kTapeDriveCount] = {"/dev/nst0", "/dev/nst1", "/dev/nst2", "/dev/nst3"};
  // When set, opens a resolved device string in place of OpenTapeDevice
  // (tests wrap the device to count or fail its requests).
  std::function<ErrorCode(const std::string& device, std::unique_ptr<CTapeDevice>& out)> open;
};

// The drive number of "Tape0" ... "Tape3" (any case), or -1.
int TapeDriveNumber(const std::string& name);

// The device string of a drive name; any other text is taken as a device
// string itself.
std::string ResolveTapeDevice(const std::string& name, const TapeBindings& bindings);

// True when the device string names tape image files.
bool IsTapImageDevice(const std::string& device);

// Opens the device of `device` (a device string). `sys` replaces the system
// calls of a SCSI drive (tests). On failure `out` stays empty and the error
// is returned.
ErrorCode OpenTapeDevice(const std::string& device, std::unique_ptr<CTapeDevice>& out,
                         CTapeSyscalls* sys = nullptr);

}  // namespace kelvo
