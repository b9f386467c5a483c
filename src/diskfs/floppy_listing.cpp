#include "diskfs/floppy_listing.h"

#include <cstring>
#include <new>

#include "diskfs/mount.h"

namespace kelvo {

ErrorCode CFloppyPrefetch::Load(std::uint32_t blocks) {
  try {
    blocks_.assign(std::size_t{blocks} * kBlockSize, 0);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  ErrorCode rc = drive_.ReadSectors(0, blocks, blocks_.data());
  if (rc != ERR_OK) blocks_.clear();
  return rc;
}

ErrorCode CFloppyPrefetch::ReadSectors(std::uint32_t lbn, std::uint32_t count,
                                       std::uint8_t* buffer) {
  std::uint64_t end = (std::uint64_t{lbn} + count) * kBlockSize;
  if (end > blocks_.size()) return drive_.ReadSectors(lbn, count, buffer);
  std::memcpy(buffer, blocks_.data() + std::size_t{lbn} * kBlockSize, std::size_t{count} * kBlockSize);
  return ERR_OK;
}

ErrorCode CFloppyPrefetch::WriteSectors(std::uint32_t lbn, std::uint32_t count,
                                        const std::uint8_t* buffer) {
  ErrorCode rc = drive_.WriteSectors(lbn, count, buffer);
  // Keep the copy true to the disk.
  std::uint64_t end = (std::uint64_t{lbn} + count) * kBlockSize;
  if (rc == ERR_OK && end <= blocks_.size()) {
    std::memcpy(blocks_.data() + std::size_t{lbn} * kBlockSize, buffer, std::size_t{count} * kBlockSize);
  }
  return rc;
}

ErrorCode ListFloppy(CFloppyDrive& drive, DiskListing& out) {
  out = DiskListing{};
  CFloppySession session(drive);
  if (ErrorCode rc = session.Status()) return rc;
  if (ErrorCode rc = SetMediaFromDisk(drive)) return rc;
  CFloppyPrefetch prefetch(drive);
  if (ErrorCode rc = prefetch.Load(kFloppyListingBlocks)) return rc;
  return ListFiles(prefetch, out);
}

}  // namespace kelvo
