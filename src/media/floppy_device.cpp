#include "media/floppy_device.h"

#include <cerrno>

#include "media/floppy_emulated.h"
#include "media/floppy_linux.h"

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
    case 0:
      return ERR_OK;
    case EROFS:
      return ERR_WRITE_PROTECT;
    case EACCES:
    case EPERM:
      return writing ? ERR_WRITE_PROTECT : ERR_ACCESS_DENIED;
    case ENXIO:
    case ENOMEDIUM:
    case ENODEV:
      return ERR_NOT_READY;
    case ENOENT:
      return ERR_INVALID_DRIVE;
    case EBUSY:
      return ERR_DRIVE_LOCKED;
    case EIO:
    case EFBIG:
      return ERR_SECTOR_NOT_FOUND;
    case ENOSPC:
      return ERR_HANDLE_DISK_FULL;
    case ENOMEM:
      return ERR_NOT_ENOUGH_MEMORY;
    case EINVAL:
    case ENOTTY:
    case EOPNOTSUPP:
      return ERR_INVALID_FUNCTION;
    default:
      return ERR_DRIVE_ACCESS;
  }
}

bool IsFiveInchMedia(int code) {
  return code == 1 || (code >= 6 && code <= 10) || code == 16;
}

bool IsThreeInchMedia(int code) { return code >= 2 && code <= 5; }

}  // namespace kelvo
