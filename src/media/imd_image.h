// ImageDisk (".IMD") archive files: an ASCII header line and comment ended by
// 0x1A, then one record per track (mode, cylinder, head, sector count, size
// code, sector numbering map, optional cylinder and head maps, and one data
// record per sector).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/error_codes.h"

namespace kelvo {

// A disk read from or written to an IMD file, as 512-byte blocks in LBN
// order (LBN = (cylinder * 2 + head) * sectors per track + sector - 1).
struct ImdDisk {
  std::vector<std::uint8_t> bytes;  // whole blocks
  std::vector<bool> unreadable;     // one flag per block: absent or marked bad
  std::string comment;
};

// True when `data` starts like an IMD file ("IMD ").
bool LooksLikeImd(std::span<const std::uint8_t> data);

// Parses an IMD file holding 512-byte sectors (size code 2) numbered from 1.
// Sectors the file marks unavailable or read with a data error, and sectors
// no track record holds, are flagged unreadable (their bytes zero).
// ERR_BAD_IMAGE for a truncated or malformed file or other sector sizes.
ErrorCode ParseImd(std::span<const std::uint8_t> data, ImdDisk& out);

// Builds an IMD file of `blocks` (whole blocks) laid out as `cylinders` x 2
// heads x `spt` sectors (the tail beyond the data is written unavailable).
// Blocks flagged in `unreadable` (may be shorter or empty) are written as
// unavailable; a sector whose bytes are all equal is written compressed.
// Mode byte: 3 (500 kbps MFM) for 15 and 18 sectors, 5 (250 kbps MFM) for 9.
std::vector<std::uint8_t> BuildImd(std::span<const std::uint8_t> blocks,
                                   const std::vector<bool>& unreadable, int cylinders,
                                   int spt, const std::string& comment);

}  // namespace kelvo
