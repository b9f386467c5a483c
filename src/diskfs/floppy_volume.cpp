#include "diskfs/floppy_volume.h"

#include <algorithm>
#include <new>

#include "diskfs/disk_progress.h"
#include "diskfs/mount.h"
#include "diskfs/on_disk.h"

namespace kelvo {
namespace {

// LBN 0 to 4: boot, volume, boot copy, bad blocks, bitmap.
constexpr std::uint32_t kSystemAreaCopyBlocks = 5;
// A bitmap further out than the listing's first read is taken from the disk.
constexpr std::uint32_t kFarthestCopiedBitmap = 89;

}  // namespace

ErrorCode CFloppyVolumeSession::ReadSystemArea() {
  VolumeBlock volume;
  if (ErrorCode rc = ReadVolumeBlock(drive_, volume)) return rc;
  std::uint32_t blocks = kSystemAreaCopyBlocks;
  if (volume.bitmap_lbn <= kFarthestCopiedBitmap) {
    blocks = std::max(blocks, std::uint32_t{volume.bitmap_lbn} + 1);
  }
  try {
    system_area_.assign(std::size_t{blocks} * kBlockSize, 0);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  return drive_.ReadSectors(0, blocks, system_area_.data());
}

ErrorCode CFloppyVolumeSession::Open(Interaction& ui) {
  volume_.reset();
  session_.reset();
  if (ErrorCode rc = RetryWhileAsked(ui, [&] { return CheckKelvoDrive(drive_); })) return rc;
  if (ErrorCode rc = OpenFloppyWithRetry(drive_, ui, session_)) return rc;
  if (ErrorCode rc = RetryWhileAsked(ui, [&] {
        ErrorCode set = SetMediaFromDisk(drive_);
        return set != ERR_OK ? set : ReadSystemArea();
      }))
    return rc;
  volume_.emplace(drive_, system_area_);
  return ERR_OK;
}

ErrorCode RenameFloppyFile(CFloppyDrive& drive, std::string_view old_name,
                           std::string_view new_name, Interaction& ui) {
  CFloppyVolumeSession session(drive);
  if (ErrorCode rc = session.Open(ui)) return rc;
  return session.Volume().RenameFile(old_name, new_name);
}

}  // namespace kelvo
