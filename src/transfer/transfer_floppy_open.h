// A floppy drive opened for one transfer: the drive and the session that
// opens it with Retry (CFloppyVolumeSession), over a metadata cache of the
// transfer's size.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "core/interaction.h"
#include "diskfs/floppy_volume_session.h"
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

  // See CFloppyVolumeSession::Open; no drive gives ERR_INVALID_DRIVE.
  ErrorCode Open(Interaction* ui, std::uint32_t cache_blocks) {
    session_.reset();
    if (!drive_) return ERR_INVALID_DRIVE;
    session_.emplace(*drive_, cache_blocks);
    return session_->Open(ui);
  }

  // Valid after a successful Open; the drive stays open and locked until
  // this object ends.
  CKelvoVolume& Volume() { return session_->Volume(); }

 private:
  std::unique_ptr<CFloppyDrive> drive_;
  std::optional<CFloppyVolumeSession> session_;
};

}  // namespace kelvo
