// Filling the device table at start-up, and the floppy driver test.
#pragma once

#include <filesystem>
#include <memory>

#include "media/device_table.h"

namespace kelvo {

class CFloppySyscalls;

// The warning start-up shows when the floppy driver test fails.
inline constexpr const char* kFloppyDriverMissingText =
    "Floppy driver not loaded! Some functions will not be available.";

// Fills `table` from `bindings`: entries 0 and 1 are floppy drives A: and B:
// as DescribeFloppyDevice finds them (over `floppy_calls` when given),
// present when the drive is there and handles a printer format (a drive of
// form 0 is absent); entries 2-25 are absent (Linux has no drive letters);
// entries 26-29 are Tape0..Tape3, present when their device string names an
// existing device or an existing .tap file (for a list of volumes, the
// first). Returns whether any tape drive is present.
bool EnumerateDevices(const DeviceBindings& bindings, DeviceTable& table,
                      std::shared_ptr<CFloppySyscalls> floppy_calls = nullptr);

// Whether a floppy driver that offers the printer formats is there: the
// Linux floppy driver (its module folder or /dev/fd0 under `system_root`),
// a bound /dev/fdN that exists, or an emulated drive bound to A: or B:.
bool IsFloppyDriverLoaded(const DeviceBindings& bindings,
                          const std::filesystem::path& system_root = "/");

// The check box under the floppy driver warning.
inline constexpr const char* kDoNotShowAgainText = "Do not show this again";

// Whether a floppy binding names a device that is there (under
// `system_root`): an emulated drive or an existing device node.
bool AnyFloppyDeviceBound(const DeviceBindings& bindings,
                          const std::filesystem::path& system_root = "/");

// The volume a tape device string starts with: the string itself, or its
// first comma-separated part when it ends in ".tap".
std::string FirstTapeVolume(const std::string& device);

}  // namespace kelvo
