// The floppy drives of kdisk: building a drive over the device string bound
// to a device bar entry, and the floppy entries among the present devices.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "gui/windows/device_list.h"
#include "media/floppy_drive.h"

namespace kelvo::gui {

// The drive of a floppy entry over its device string; null when the string
// is unusable (a malformed emu: string).
std::unique_ptr<CFloppyDrive> MakeFloppyDrive(const PresentDevice& device);

// The floppy entries of `devices`, in order (A: before B:).
std::vector<PresentDevice> FloppyEntries(const std::vector<PresentDevice>& devices);

// The drive form of a floppy entry (kDriveForm35 or kDriveForm525).
int DriveForm(const PresentDevice& device);

// The name a drive list shows for a floppy entry: "3½ Floppy (A:)".
QString DriveDisplayName(const PresentDevice& device);

}  // namespace kelvo::gui
