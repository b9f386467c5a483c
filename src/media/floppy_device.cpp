#include "media/floppy_device.h"

#include "media/emulated_floppy.h"
#include "media/linux_floppy.h"

namespace kelvo {

std::shared_ptr<CFloppyDevice> MakeFloppyDevice(const std::string& device) {
  if (device.rfind("emu:", 0) == 0) {
    EmulatedFloppyOptions options;
    if (!ParseEmulatedFloppy(device.substr(4), options)) return nullptr;
    return std::make_shared<CEmulatedFloppy>(options);
  }
  if (device.empty()) return nullptr;
  return std::make_shared<CLinuxFloppy>(device, SystemFloppyCalls());
}

std::string DefaultFloppyDevice(char letter) {
  return (letter == 'B' || letter == 'b') ? "/dev/fd1" : "/dev/fd0";
}

bool IsFiveInchMedia(int code) {
  return code == 1 || (code >= 6 && code <= 10) || code == 16;
}

bool IsThreeInchMedia(int code) { return code >= 2 && code <= 5; }

}  // namespace kelvo
