#include "app/device_enumeration.h"

#include <string_view>

#include "app/floppy_description.h"

namespace kelvo {
namespace {

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool TapePresent(const std::string& device) {
  const std::string first = FirstTapeVolume(device);
  if (first.empty()) return false;
  std::error_code ec;
  if (EndsWith(first, ".tap")) return std::filesystem::is_regular_file(first, ec);
  return std::filesystem::exists(first, ec);
}

}  // namespace

std::string FirstTapeVolume(const std::string& device) {
  const std::size_t comma = device.find(',');
  if (comma == std::string::npos) return device;
  std::string first = device.substr(0, comma);
  return EndsWith(first, ".tap") ? first : device;
}

bool EnumerateDevices(const DeviceBindings& bindings, DeviceTable& table,
                      std::shared_ptr<CFloppySyscalls> floppy_calls) {
  table = DeviceTable{};
  for (int i = 0; i < 2; ++i) {
    const char letter = static_cast<char>('A' + i);
    FloppyDescription d = DescribeFloppyDevice(bindings.floppy[i], letter, floppy_calls);
    DeviceEntry& e = table[static_cast<std::size_t>(i)];
    e.type = kDeviceRemovable;
    e.drive_form = d.drive_form;
    e.display_name = d.display_name;
    // A 5.25-inch drive without the printer's 720 KB format is not offered.
    e.present = d.exists && d.drive_form != kDriveFormNoPrinterFormat;
  }
  bool any_tape = false;
  for (int n = 0; n < kTapeDriveCount; ++n) {
    DeviceEntry& e = table[static_cast<std::size_t>(kFirstTapeEntry + n)];
    e.type = kDeviceTape;
    e.display_name = "Tape" + std::to_string(n);
    e.present = TapePresent(bindings.tape[n]);
    any_tape = any_tape || e.present;
  }
  return any_tape;
}

bool IsFloppyDriverLoaded(const DeviceBindings& bindings,
                          const std::filesystem::path& system_root) {
  std::error_code ec;
  if (std::filesystem::exists(system_root / "sys/module/floppy", ec)) return true;
  if (std::filesystem::exists(system_root / "dev/fd0", ec)) return true;
  for (const std::string& device : bindings.floppy) {
    if (DescribeFloppyDevice(device, 'A').emulated) return true;
    const std::filesystem::path p(device);
    if (p.is_absolute() && p.parent_path() == "/dev" && p.filename().string().rfind("fd", 0) == 0 &&
        std::filesystem::exists(system_root / p.relative_path(), ec)) {
      return true;
    }
  }
  return false;
}

bool AnyFloppyDeviceBound(const DeviceBindings& bindings, const std::filesystem::path& system_root) {
  std::error_code ec;
  for (const std::string& device : bindings.floppy) {
    if (device.empty()) continue;
    if (DescribeFloppyDevice(device, 'A').emulated) return true;
    const std::filesystem::path p(device);
    if (std::filesystem::exists(p.is_absolute() ? system_root / p.relative_path() : p, ec)) return true;
  }
  return false;
}

}  // namespace kelvo
