#include "gui/shell/floppy_drives.h"

#include "gui/shell/shell_context.h"
#include "app/engine_setup.h"

namespace kelvo::gui {

std::unique_ptr<CFloppyDrive> MakeFloppyDrive(const DeviceEntry& device) {
  if (device.tape || device.name.isEmpty()) return nullptr;
  return kelvo::MakeFloppyDrive(device.name.at(0).toLatin1(), S(device.device));
}

std::vector<DeviceEntry> FloppyEntries(const std::vector<DeviceEntry>& devices) {
  std::vector<DeviceEntry> out;
  for (const DeviceEntry& d : devices)
    if (!d.tape) out.push_back(d);
  return out;
}

int DriveForm(const DeviceEntry& device) {
  return device.three_and_half ? kDriveForm35 : kDriveForm525;
}

QString DriveDisplayName(const DeviceEntry& device) { return device.Label(); }

}  // namespace kelvo::gui
