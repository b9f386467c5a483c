// The sector-source contract: whole 512-byte blocks by logical block number.
//
// Everything that works on a printer disk (listing, storing, formatting,
// copying) reaches it only through this interface, whether the disk is a
// floppy in a drive or an image held in memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/error_codes.h"

namespace kelvo {

inline constexpr std::size_t kBlockSize = 512;

class CSectorSource {
 public:
  virtual ~CSectorSource() = default;

  // Reads `count` blocks starting at `lbn` into `buffer` (count * 512 bytes).
  virtual ErrorCode ReadSectors(std::uint32_t lbn, std::uint32_t count, std::uint8_t* buffer) = 0;
  // Writes `count` blocks from `buffer` starting at `lbn`.
  virtual ErrorCode WriteSectors(std::uint32_t lbn, std::uint32_t count,
                                 const std::uint8_t* buffer) = 0;
  // Exclusive use of the carrier around a sequence of writes.
  virtual ErrorCode Lock() = 0;
  virtual ErrorCode Unlock() = 0;
};

}  // namespace kelvo
