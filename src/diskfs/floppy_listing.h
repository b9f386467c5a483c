// Listing a printer disk in a floppy drive.
#pragma once

#include "diskfs/listing.h"
#include "media/floppy_drive.h"

namespace kelvo {

// Blocks read in one request when a floppy is listed: the whole system area
// of a standard disk and more.
inline constexpr std::uint32_t kFloppyListingBlocks = 90;

// Opens and locks the drive, sets its media type from the disk, reads LBN 0
// to 89 in one request and walks the directory from that copy (a directory
// sector beyond it is read by itself). Returns the device's error, with
// nothing listed, when the first read fails.
ErrorCode ListFloppy(CFloppyDrive& drive, DiskListing& out);

// A sector source that serves the first blocks of a drive from one read.
class CFloppyPrefetch : public CSectorSource {
 public:
  explicit CFloppyPrefetch(CSectorSource& drive) : drive_(drive) {}
  // Reads LBN 0 to `blocks` - 1 in one request.
  ErrorCode Load(std::uint32_t blocks);
  ErrorCode ReadSectors(std::uint32_t lbn, std::uint32_t count, std::uint8_t* buffer) override;
  ErrorCode WriteSectors(std::uint32_t lbn, std::uint32_t count,
                         const std::uint8_t* buffer) override;
  ErrorCode Lock() override { return drive_.Lock(); }
  ErrorCode Unlock() override { return drive_.Unlock(); }

 private:
  CSectorSource& drive_;
  std::vector<std::uint8_t> blocks_;
};

}  // namespace kelvo
