#include "diskfs/create_file_system.h"

#include <algorithm>

#include "diskfs/on_disk.h"
#include "core/radix50.h"

namespace kelvo {

void CreateFileSystem(std::span<std::uint8_t> buffer, MediaKind media, std::string_view disk_id,
                      int& blocks_built) {
  blocks_built = 0;
  if (buffer.size() < std::size_t{kSystemAreaBlocks} * kBlockSize) return;
  std::uint8_t* disk = buffer.data();
  std::fill(disk, disk + std::size_t{kSystemAreaBlocks} * kBlockSize, std::uint8_t{0});
  auto block = [disk](std::uint32_t lbn) { return disk + std::size_t{lbn} * kBlockSize; };

  constexpr std::uint16_t kBadBlockLbn = 3;
  constexpr std::uint16_t kBitmapLbn = 4;
  VolumeBlock volume;
  volume.highest_lbn = HighestLbn(media);
  volume.heads = kHeads;
  volume.sectors_per_track = static_cast<std::uint16_t>(SectorsPerTrack(media));
  volume.constant8 = 1;
  volume.bitmap_lbn = kBitmapLbn;
  volume.constant16 = 1;
  volume.SetDiskId(disk_id.empty() ? std::string_view(kDefaultDiskId) : disk_id);

  EncodeBootBlock(block(0));
  EncodeBootBlock(block(2));

  std::uint16_t lbn = 5;
  for (std::size_t row = 0; row < TypeDirectoryTable.size(); ++row) {
    const TypeDirectoryRow& t = TypeDirectoryTable[row];
    volume.type_index[row] = {RadixEncode(t.type), 0, lbn};
    if (row == 0) {
      FileEntry bad{.name1 = RadixEncode("BAD"), .name2 = RadixEncode("BLK"), .blocks = 1,
                    .blocks_again = 1, .start_lbn = kBadBlockLbn};
      FileEntry map{.name1 = RadixEncode("BIT"), .name2 = RadixEncode("MAP"), .blocks = 1,
                    .blocks_again = 1, .start_lbn = kBitmapLbn};
      PutSlot(block(lbn), 0, bad);
      PutSlot(block(lbn), 1, map);
    }
    for (std::uint16_t s = 0; s < t.sectors; ++s, ++lbn) {
      if (s + 1 < t.sectors) PutWord(block(lbn) + 2, static_cast<std::uint16_t>(lbn + 1));
    }
  }
  volume.Encode(block(kVolumeBlockLbn));

  std::span<std::uint8_t, kBlockSize> bitmap_bytes(block(kBitmapLbn), kBlockSize);
  CAllocationBitmap bitmap(bitmap_bytes);
  bitmap.MarkFree(0, std::uint32_t{volume.highest_lbn} + 1, volume.highest_lbn);
  bitmap.MarkUsed(0, kSystemAreaBlocks, volume.highest_lbn);
  blocks_built = kSystemAreaBlocks;
}

}  // namespace kelvo
