// The restricted raster decoder of printer image files: lines of 4-dot
// groups written by short codes, in modes that combine a line with the line
// above (mode 1) or with itself from left to right (mode 3).
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvo {

inline constexpr std::uint8_t kRasterStartOfImage = 0x70;
inline constexpr std::uint8_t kRasterEndOfImage = 0x71;

struct RasterDecodeResult {
  bool ok = false;
  int lines_stored = 0;  // lines written to the bitmap (the number the read error shows)
  bool ended_early = false;  // the image ended before all its scan lines were stored
};

// Decodes `size` bytes of encoded raster into `bitmap`, which holds
// `scanLines` lines of `roundedDots` / 8 bytes each and must come in zeroed.
// Lines are stored inverted (0 = ink). Codes that would write past the end
// of a line, and input that ends before the image does, fail the decode.
RasterDecodeResult DecodeRestrictedRaster(const std::uint8_t* data, std::size_t size,
                                          int roundedDots, int scanLines, std::uint8_t* bitmap);

}  // namespace kelvo
