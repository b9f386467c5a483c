#include "tape/tape_open.h"

#include <cctype>

#include "tape/scsi_tape.h"
#include "tape/tap_image.h"

namespace kelvo {

int TapeDriveNumber(const std::string& name) {
  if (name.size() != 5) return -1;
  static const char kPrefix[] = "tape";
  for (int i = 0; i < 4; ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != kPrefix[i]) return -1;
  }
  if (name[4] < '0' || name[4] >= '0' + kTapeDriveCount) return -1;
  return name[4] - '0';
}

std::string ResolveTapeDevice(const std::string& name, const TapeBindings& bindings) {
  int n = TapeDriveNumber(name);
  return n < 0 ? name : bindings.device[n];
}

bool IsTapImageDevice(const std::string& device) {
  std::string first = device.substr(0, device.find(','));
  if (first.size() < 4) return false;
  std::string ext = first.substr(first.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".tap";
}

ErrorCode OpenTapeDevice(const std::string& device, std::unique_ptr<CTapeDevice>& out,
                         CTapeSyscalls* sys) {
  out.reset();
  if (device.empty()) return ERR_TAPE_OPEN;
  try {
    if (IsTapImageDevice(device)) {
      auto image = std::make_unique<CTapImage>(SplitTapVolumes(device));
      if (ErrorCode rc = image->Open()) return rc;
      out = std::move(image);
      return ERR_OK;
    }
    auto drive = std::make_unique<CScsiTape>(device, sys ? *sys : SystemTapeSyscalls());
    if (ErrorCode rc = drive->Open()) return rc;
    out = std::move(drive);
    return ERR_OK;
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

}  // namespace kelvo
