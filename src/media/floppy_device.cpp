#include "media/floppy_device.h"

#include <cerrno>

#include "media/floppy_emulated.h"
#include "media/floppy_linux.h"
#include "core/errno_map.h"

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

ErrorCode MapFloppyErrno(int err, bool writing) {
  switch (err) {
    case EIO:
      // An unformatted or unreadable disk: the format and copy paths go on
      // to format it after this code.
      return ERR_SECTOR_NOT_FOUND;
    case ENOENT:
      return ERR_INVALID_DRIVE;  // no such drive
    case ENODEV:
      return ERR_NOT_READY;  // the floppy driver's answer for a missing disk
    case EBUSY:
      return ERR_DRIVE_LOCKED;  // in use by another program (O_EXCL)
    default:
      return MapErrno(err, writing ? IoContext::Write : IoContext::Read);
  }
}

bool IsFiveInchMedia(int code) {
  return code == 1 || (code >= 6 && code <= 10) || code == 16;
}

bool IsThreeInchMedia(int code) { return code >= 2 && code <= 5; }

}  // namespace kelvo
