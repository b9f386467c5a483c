// Raw sector images of a printer floppy: the blocks in LBN order, either the
// file system's 78 cylinders or all 80 formatted cylinders, as archivists'
// imagers write them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace kelvo {

struct FloppyGeometry {
  int cylinders = 0;          // 78 or 80 for a recognised raw size
  int sectors_per_track = 0;  // 9, 15 or 18
};

// The geometry a raw image of `bytes` bytes has, or {0, 0} when the size is
// none of the 78- or 80-cylinder sizes of the 9, 15 and 18 sector formats.
FloppyGeometry RawImageGeometry(std::uint64_t bytes);

// The smallest geometry that holds `blocks` blocks: the fewest sectors per
// track of 9, 15, 18 whose 80 cylinders hold them, and the cylinders needed
// (at least 1). Larger counts give 18 sectors and as many cylinders as needed.
FloppyGeometry GeometryForBlocks(std::uint32_t blocks);

// The extension of `path` in lower case, with its dot (".imd").
std::string LowerExtension(const std::filesystem::path& path);

}  // namespace kelvo
