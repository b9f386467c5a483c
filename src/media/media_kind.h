// Diskette formats, numbered like the classic media-type codes the printer
// utility has always used (stored in settings and compared in copy checks).
#pragma once

#include <cstdint>

namespace kelvo {

enum class MediaKind : int {
  Unknown = 0,
  F5_1Pt2_512 = 1,   // 5.25-inch 1.2 MB, 15 sectors per track
  F3_1Pt44_512 = 2,  // 3.5-inch 1.44 MB, 18 sectors per track
  F3_720_512 = 5,    // 3.5-inch 720 KB, 9 sectors per track
  F5_720_512 = 16,   // 5.25-inch 720 KB, 9 sectors per track
  F3_1Pt2_512 = 17,  // 3.5-inch 1.2 MB, 15 sectors per track
};

inline constexpr int kHeads = 2;
inline constexpr int kFormattedCylinders = 80;
inline constexpr int kFileSystemCylinders = 78;

// Sectors per track of a media kind; 18 for any kind not of the printer's
// own four (the 1.44 MB fallback).
constexpr int SectorsPerTrack(MediaKind kind) {
  switch (kind) {
    case MediaKind::F5_1Pt2_512:
    case MediaKind::F3_1Pt2_512:
      return 15;
    case MediaKind::F3_720_512:
    case MediaKind::F5_720_512:
      return 9;
    default:
      return 18;
  }
}

// Highest LBN the file system uses: 78 cylinders of 2 heads.
constexpr std::uint16_t HighestLbn(MediaKind kind) {
  return static_cast<std::uint16_t>(kFileSystemCylinders * kHeads * SectorsPerTrack(kind) - 1);
}

}  // namespace kelvo
