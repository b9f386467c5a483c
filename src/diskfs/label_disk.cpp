#include "diskfs/label_disk.h"

#include <algorithm>
#include <cstring>

#include "diskfs/mount.h"
#include "diskfs/on_disk.h"

namespace kelvo {

ErrorCode LabelDisk(CFloppyDrive& drive, std::string_view disk_id) {
  if (ErrorCode rc = CheckKelvoDrive(drive)) return rc;
  CFloppySession session(drive);
  if (ErrorCode rc = session.Status()) return rc;
  Block block{};
  if (ErrorCode rc = drive.ReadSectors(kVolumeBlockLbn, 1, block.data())) return rc;
  std::memset(block.data() + kDiskIdOffset, 0, kTypeIndexOffset - kDiskIdOffset);
  std::size_t length = std::min(disk_id.size(), kDiskIdMaxLength);
  std::memcpy(block.data() + kDiskIdOffset, disk_id.data(), length);
  block[kDiskIdMarkerOffset] = 'I';
  block[kDiskIdMarkerOffset + 1] = 'D';
  return drive.WriteSectors(kVolumeBlockLbn, 1, block.data());
}

}  // namespace kelvo
