#include "gui/shell/floppy_drives.h"

#include "gui/shell/shell_context.h"
#include "app/engine_setup.h"

namespace kelvo::gui {

std::unique_ptr<CFloppyDrive> MakeFloppyDrive(const PresentDevice& device) {
  if (device.tape || device.name.isEmpty()) return nullptr;
  return kelvo::MakeFloppyDrive(device.name.at(0).toLatin1(), S(device.device));
}

std::vector<PresentDevice> FloppyEntries(const std::vector<PresentDevice>& devices) {
  std::vector<PresentDevice> out;
  for (const PresentDevice& d : devices)
    if (!d.tape) out.push_back(d);
  return out;
}

int DriveForm(const PresentDevice& device) {
  return device.three_and_half ? kDriveForm35 : kDriveForm525;
}

QString DriveDisplayName(const PresentDevice& device) { return device.Label(); }

}  // namespace kelvo::gui
