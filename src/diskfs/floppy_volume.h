// The floppy forms of the file operations: a printer disk in a drive opened
// for storing, deleting and renaming files over a copy of its system area.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/interaction.h"
#include "diskfs/kelvo_volume.h"
#include "media/floppy_drive.h"

namespace kelvo {

class CFloppyVolumeSession {
 public:
  explicit CFloppyVolumeSession(CFloppyDrive& drive) : drive_(drive) {}
  CFloppyVolumeSession(const CFloppyVolumeSession&) = delete;
  CFloppyVolumeSession& operator=(const CFloppyVolumeSession&) = delete;

  // Checks that the drive holds a printer disk, opens and locks it, sets
  // its media type from the disk and reads the system area (LBN 0 up to the
  // bitmap); a failing step is shown and repeated while the answer is
  // Retry. Returns 0 or the failure the user gave up on.
  ErrorCode Open(Interaction& ui);

  // Valid after a successful Open, until the session ends.
  CKelvoVolume& Volume() { return *volume_; }
  std::vector<std::uint8_t>& SystemArea() { return system_area_; }

 private:
  ErrorCode ReadSystemArea();

  CFloppyDrive& drive_;
  std::optional<CFloppySession> session_;
  std::vector<std::uint8_t> system_area_;
  std::optional<CKelvoVolume> volume_;
};

// Renames a file on the printer disk in `drive` (see CKelvoVolume::RenameFile).
ErrorCode RenameFloppyFile(CFloppyDrive& drive, std::string_view old_name,
                           std::string_view new_name, Interaction& ui);

}  // namespace kelvo
