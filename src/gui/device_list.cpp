#include "gui/device_list.h"

#include <QFileInfo>

namespace kelvo::gui {
namespace {

// A device string names something that exists: an emulated drive always
// does, a device node or a tape image file when the path exists.
bool Exists(const QString& device) {
  if (device.startsWith(QLatin1String("emu:"))) return true;
  return QFileInfo::exists(device.section(QLatin1Char(','), 0, 0));
}

bool EmulatedFiveAndQuarter(const QString& device) {
  return device.startsWith(QLatin1String("emu:")) && device.contains(QLatin1String("form=5.25"));
}

}  // namespace

QString DeviceEntry::Label() const {
  if (tape) return name;
  return (three_and_half ? QStringLiteral("3\u00BD Floppy (%1)") : QStringLiteral("5\u00BC  Floppy (%1)"))
      .arg(name);
}

QString FloppyPlaceText(const DeviceEntry& device) {
  return QStringLiteral("Floppy Drive %1\\").arg(device.name);
}

// UNFINISHED: the engine's device table replaces this once it is merged.
std::vector<DeviceEntry> EnumerateDevices(const DeviceBindings& b) {
  std::vector<DeviceEntry> out;
  const QString floppies[2] = {b.drive_a.isEmpty() ? QStringLiteral("/dev/fd0") : b.drive_a,
                               b.drive_b.isEmpty() ? QStringLiteral("/dev/fd1") : b.drive_b};
  for (int i = 0; i < 2; ++i) {
    if (!Exists(floppies[i])) continue;
    out.push_back({i == 0 ? QStringLiteral("A:") : QStringLiteral("B:"), floppies[i], false,
                   !EmulatedFiveAndQuarter(floppies[i])});
  }
  for (int n = 0; n < 4; ++n) {
    const QString dev = b.tape[n].isEmpty() ? QStringLiteral("/dev/nst%1").arg(n) : b.tape[n];
    if (!Exists(dev)) continue;
    out.push_back({QStringLiteral("Tape%1").arg(n), dev, true, true});
  }
  return out;
}

}  // namespace kelvo::gui
