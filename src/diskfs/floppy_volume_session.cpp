#include "diskfs/floppy_volume_session.h"

#include <algorithm>
#include <new>

#include "diskfs/mount.h"
#include "diskfs/on_disk.h"

namespace kelvo {
namespace {

// LBN 0 to 4: boot, volume, boot copy, bad blocks, bitmap.
constexpr std::uint32_t kSystemAreaCopyBlocks = 5;
// A bitmap further out than the listing's first read is taken from the disk.
constexpr std::uint32_t kFarthestCopiedBitmap = 89;

// Runs `step`; with `ui` shows a failure and repeats while the answer is
// Retry.
template <typename Step>
ErrorCode Attempt(Interaction* ui, Step step) {
  for (;;) {
    ErrorCode rc = step();
    if (rc == ERR_OK || rc == ERR_NOT_ENOUGH_MEMORY || !ui) return rc;
    if (ui->ReportError(rc) != Button::Retry) return rc;
  }
}

}  // namespace

ErrorCode CFloppyVolumeSession::OpenAndRead() {
  session_.reset();
  session_.emplace(drive_);
  if (ErrorCode rc = session_->Status()) return rc;
  if (ErrorCode rc = SetMediaFromDisk(drive_)) return rc;
  std::uint32_t blocks = cache_blocks_;
  if (blocks == 0) {
    VolumeBlock volume;
    if (ErrorCode rc = ReadVolumeBlock(drive_, volume)) return rc;
    blocks = kSystemAreaCopyBlocks;
    if (volume.bitmap_lbn <= kFarthestCopiedBitmap) {
      blocks = std::max(blocks, std::uint32_t{volume.bitmap_lbn} + 1);
    }
  }
  try {
    system_area_.assign(std::size_t{blocks} * kBlockSize, 0);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  return drive_.ReadSectors(0, blocks, system_area_.data());
}

ErrorCode CFloppyVolumeSession::Open(Interaction* ui) {
  volume_.reset();
  session_.reset();
  if (ErrorCode rc = Attempt(ui, [&] { return CheckKelvoDrive(drive_); })) return rc;
  if (ErrorCode rc = Attempt(ui, [&] { return OpenAndRead(); })) {
    session_.reset();
    return rc;
  }
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
