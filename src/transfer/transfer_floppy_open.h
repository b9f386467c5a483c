// A floppy drive opened for one transfer: checked for a printer disk,
// opened and locked, its media type set from the disk, and its first blocks
// read into the transfer's metadata cache.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/interaction.h"
#include "diskfs/kelvo_volume.h"
#include "media/floppy_drive.h"

namespace kelvo {

// Blocks of the metadata cache: one floppy; each disk of a floppy-to-floppy
// copy.
inline constexpr std::uint32_t kFloppyCacheBlocks = 5;
inline constexpr std::uint32_t kFloppyPairCacheBlocks = 100;

class CTransferFloppy {
 public:
  explicit CTransferFloppy(std::unique_ptr<CFloppyDrive> drive) : drive_(std::move(drive)) {}
  CTransferFloppy(const CTransferFloppy&) = delete;
  CTransferFloppy& operator=(const CTransferFloppy&) = delete;

  // With `ui`, a failed check or open and a failed read of the cache are
  // shown and repeated while the answer is Retry (FailureShown() then tells
  // the caller not to show the result again); without, the first failure is
  // returned. A cache that cannot be allocated returns 8 unshown.
  ErrorCode Open(Interaction* ui, std::uint32_t cache_blocks);
  bool FailureShown() const { return shown_; }

  // Valid after a successful Open; the drive stays open and locked until
  // this object ends.
  CKelvoVolume& Volume() { return *volume_; }

 private:
  ErrorCode OpenAndRead(std::uint32_t cache_blocks);

  std::unique_ptr<CFloppyDrive> drive_;
  std::optional<CFloppySession> session_;
  std::vector<std::uint8_t> cache_;
  std::optional<CKelvoVolume> volume_;
  bool shown_ = false;
};

}  // namespace kelvo
