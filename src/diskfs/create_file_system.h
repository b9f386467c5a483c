// Building an empty printer file system: the 80 blocks of the system area.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "media/media_kind.h"

namespace kelvo {

inline constexpr const char* kDefaultDiskId = "Kelvo Disk Utility";

// Builds boot blocks, volume block, type index, chained directories, the two
// system entries and the bitmap into the first 80 blocks of `buffer`.
// `blocks_built` is 80, or 0 (nothing written) when the buffer is smaller
// than 80 blocks. The media code sets highest LBN and sectors per track
// (1, 17: 2339 and 15; 5, 16: 1403 and 9; any other: 2807 and 18). An empty
// disk ID becomes "Kelvo Disk Utility"; a longer one is cut to 30 characters.
void CreateFileSystem(std::span<std::uint8_t> buffer, MediaKind media, std::string_view disk_id,
                      int& blocks_built);

}  // namespace kelvo
