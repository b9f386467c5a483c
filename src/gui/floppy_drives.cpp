#include "gui/floppy_drives.h"

#include "gui/shell_context.h"
#include "media/floppy_device.h"

namespace kelvo::gui {

std::unique_ptr<CFloppyDrive> MakeFloppyDrive(const DeviceEntry& device) {
  if (device.tape || device.name.isEmpty()) return nullptr;
  const char letter = device.name.at(0).toUpper().toLatin1();
  std::string text = S(device.device);
  if (text.empty()) text = DefaultFloppyDevice(letter);
  std::shared_ptr<CFloppyDevice> backend = MakeFloppyDevice(text);
  if (!backend) return nullptr;
  return std::make_unique<CFloppyDrive>(std::string(1, letter) + ":", std::move(backend));
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
