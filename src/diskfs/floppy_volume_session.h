// The floppy forms of the file operations: a printer disk in a drive opened
// for storing, deleting, renaming and copying files over a copy of its first
// blocks.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/interaction.h"
#include "diskfs/kelvo_volume.h"
#include "media/floppy_drive.h"

namespace kelvo {

// Opening a floppy with Retry: the drive is checked for a printer disk,
// opened and locked, its media type set from the disk and its first blocks
// read. The drive stays open and locked until the session ends.
class CFloppyVolumeSession {
 public:
  // `cache_blocks` 0 copies the system area (LBN 0 up to the bitmap, at
  // least five blocks); another count copies that many blocks from LBN 0.
  explicit CFloppyVolumeSession(CFloppyDrive& drive, std::uint32_t cache_blocks = 0)
      : drive_(drive), cache_blocks_(cache_blocks) {}
  CFloppyVolumeSession(const CFloppyVolumeSession&) = delete;
  CFloppyVolumeSession& operator=(const CFloppyVolumeSession&) = delete;

  // With `ui`, a failed check, and a failed open or read, is shown and
  // repeated (the open and read together) while the answer is Retry; the
  // failure the user gave up on is returned, already shown. Without `ui`
  // the first failure is returned unshown. A copy that cannot be allocated
  // returns 8 unshown.
  ErrorCode Open(Interaction* ui);
  ErrorCode Open(Interaction& ui) { return Open(&ui); }

  // Valid after a successful Open, until the session ends.
  CKelvoVolume& Volume() { return *volume_; }
  std::vector<std::uint8_t>& SystemArea() { return system_area_; }

 private:
  ErrorCode OpenAndRead();

  CFloppyDrive& drive_;
  std::uint32_t cache_blocks_;
  std::optional<CFloppySession> session_;
  std::vector<std::uint8_t> system_area_;
  std::optional<CKelvoVolume> volume_;
};

// Renames a file on the printer disk in `drive` (see CKelvoVolume::RenameFile).
ErrorCode RenameFloppyFile(CFloppyDrive& drive, std::string_view old_name,
                           std::string_view new_name, Interaction& ui);

}  // namespace kelvo
