#include "gui/windows/device_list.h"

namespace kelvo::gui {

QString PresentDevice::Label() const {
  if (tape) return name;
  return (three_and_half ? QStringLiteral("3\u00BD Floppy (%1)") : QStringLiteral("5\u00BC Floppy (%1)"))
      .arg(name);
}

QString FloppyPlaceText(const PresentDevice& device) {
  return QStringLiteral("Floppy Drive %1").arg(device.name);
}

std::vector<PresentDevice> PresentDevices(const AppState& state) {
  std::vector<PresentDevice> out;
  for (int i = 0; i < 2; ++i) {
    const kelvo::DeviceEntry& d = state.Devices[static_cast<size_t>(i)];
    if (!d.present) continue;
    out.push_back({QStringLiteral("%1:").arg(QChar('A' + i)),
                   QString::fromStdString(state.Bindings.floppy[i]), false,
                   d.drive_form == kDriveForm35});
  }
  for (int n = 0; n < kTapeDriveCount; ++n) {
    const kelvo::DeviceEntry& d = state.Devices[static_cast<size_t>(kFirstTapeEntry + n)];
    if (!d.present) continue;
    out.push_back({QStringLiteral("Tape%1").arg(n), QString::fromStdString(state.Bindings.tape[n]),
                   true, true});
  }
  return out;
}

}  // namespace kelvo::gui
