#include "transfer/transfer_floppy_open.h"

#include <new>

#include "diskfs/mount.h"

namespace kelvo {
namespace {

// Runs `step`; with `ui` shows a failure and repeats while the answer is
// Retry, noting in `shown` that the failure the caller gets was shown.
template <typename Step>
ErrorCode Attempt(Interaction* ui, bool& shown, Step step) {
  for (;;) {
    ErrorCode rc = step();
    if (rc == ERR_OK || rc == ERR_NOT_ENOUGH_MEMORY || !ui) return rc;
    if (ui->ReportError(rc) != Button::Retry) {
      shown = true;
      return rc;
    }
  }
}

}  // namespace

ErrorCode CTransferFloppy::OpenAndRead(std::uint32_t cache_blocks) {
  session_.reset();
  session_.emplace(*drive_);
  if (ErrorCode rc = session_->Status()) return rc;
  if (ErrorCode rc = SetMediaFromDisk(*drive_)) return rc;
  try {
    cache_.assign(std::size_t{cache_blocks} * kBlockSize, 0);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  return drive_->ReadSectors(0, cache_blocks, cache_.data());
}

ErrorCode CTransferFloppy::Open(Interaction* ui, std::uint32_t cache_blocks) {
  shown_ = false;
  volume_.reset();
  if (!drive_) return ERR_INVALID_DRIVE;
  if (ErrorCode rc = Attempt(ui, shown_, [&] { return CheckKelvoDrive(*drive_); })) return rc;
  if (ErrorCode rc = Attempt(ui, shown_, [&] { return OpenAndRead(cache_blocks); })) {
    session_.reset();
    return rc;
  }
  volume_.emplace(*drive_, cache_);
  return ERR_OK;
}

}  // namespace kelvo
