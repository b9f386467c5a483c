#include "diskfs/on_disk.h"

#include <gtest/gtest.h>

#include <random>

#include "support/words.h"

namespace kelvo {
namespace {

// Decoding and encoding again gives back every byte, whatever the block
// holds; where each word lies is checked against disks the tests build.
TEST(OnDisk, StructuresRoundTripByteForByte) {
  std::mt19937 rng(1);
  for (int round = 0; round < 20; ++round) {
    Block in;
    for (auto& x : in) x = static_cast<std::uint8_t>(rng());
    Block out{};
    VolumeBlock::Decode(in.data()).Encode(out.data());
    ASSERT_EQ(in, out) << "volume block, round " << round;
    out.fill(0);
    DirectorySector::Decode(in.data()).Encode(out.data());
    ASSERT_EQ(in, out) << "directory sector, round " << round;
  }
}

TEST(OnDisk, VolumeBlockFieldsWithoutTheirEnds) {
  Block raw{};
  VolumeBlock v = VolumeBlock::Decode(raw.data());
  EXPECT_FALSE(v.ShowsDiskId());
  EXPECT_EQ(v.TypeCount(), 0u);
  // A full index (68 entries, no terminator) is counted without running off the block.
  for (auto& e : v.type_index) e.type_code = 1;
  EXPECT_EQ(v.TypeCount(), kTypeIndexCapacity);
  // A disk ID filling the whole field has no terminator but is still cut.
  v.disk_id.fill('X');
  EXPECT_EQ(v.DiskIdText(), std::string(32, 'X'));
}

TEST(Bitmap, FirstFitTakesTheLowestRunLongEnough) {
  Block map{};
  CAllocationBitmap bits(map);
  bits.MarkFree(87, 1, 4095);
  bits.MarkFree(96, 2, 4095);
  std::uint16_t start = 0;
  EXPECT_EQ(FindFreeBlocks(map.data(), 2, start), ERR_OK);
  EXPECT_EQ(start, 96);
  EXPECT_EQ(FindFreeBlocks(map.data(), 1, start), ERR_OK);
  EXPECT_EQ(start, 87);
  EXPECT_EQ(FindFreeBlocks(map.data(), 3, start), ERR_HANDLE_DISK_FULL);
}

TEST(Bitmap, ScanAndChangesStayWithinTheFileSystem) {
  Block map{};
  map.fill(0xFF);  // a damaged bitmap claiming every block free
  std::uint16_t start = 0;
  EXPECT_EQ(FindFreeBlocks(map.data(), 1404, start, 1403), ERR_OK);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(FindFreeBlocks(map.data(), 1405, start, 1403), ERR_HANDLE_DISK_FULL);
  // The whole sector when nothing narrower is given.
  EXPECT_EQ(FindFreeBlocks(map.data(), 4096, start), ERR_OK);
  EXPECT_EQ(FindFreeBlocks(map.data(), 4097, start), ERR_HANDLE_DISK_FULL);

  Block clear{};
  CAllocationBitmap bits(clear);
  EXPECT_EQ(bits.MarkFree(1400, 60000, 1403), 4u);
  EXPECT_TRUE(bits.IsFree(1403));
  EXPECT_FALSE(bits.IsFree(1404));
  EXPECT_EQ(clear[176], 0);
  EXPECT_EQ(bits.MarkFree(65000, 1000, 65535), 0u);  // beyond the sector: nothing, no overflow
  EXPECT_FALSE(bits.IsFree(5000));
  EXPECT_EQ(bits.MarkUsed(1402, 5, 1403), 2u);
  EXPECT_FALSE(bits.IsFree(1402));
  EXPECT_TRUE(bits.IsFree(1401));
}

}  // namespace
}  // namespace kelvo
