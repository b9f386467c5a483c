#include "diskfs/on_disk.h"

#include <gtest/gtest.h>

#include <random>

#include "core/radix50.h"

namespace kelvo {
namespace {

Block RandomBlock(unsigned seed) {
  std::mt19937 rng(seed);
  Block b;
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  return b;
}

TEST(OnDisk, WordsAreLittleEndian) {
  std::uint8_t b[2];
  PutWord(b, 0xACC3);
  EXPECT_EQ(b[0], 0xC3);
  EXPECT_EQ(b[1], 0xAC);
  EXPECT_EQ(GetWord(b), 0xACC3);
}

TEST(OnDisk, StructuresRoundTripByteForByte) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    Block in = RandomBlock(seed);
    Block out{};
    VolumeBlock::Decode(in.data()).Encode(out.data());
    ASSERT_EQ(in, out) << "volume block, seed " << seed;
    out.fill(0);
    DirectorySector::Decode(in.data()).Encode(out.data());
    ASSERT_EQ(in, out) << "directory sector, seed " << seed;
  }
}

TEST(OnDisk, FileEntryWordPositions) {
  std::uint8_t raw[22];
  for (int i = 0; i < 11; ++i) PutWord(raw + 2 * i, static_cast<std::uint16_t>(100 + i));
  FileEntry e = FileEntry::Decode(raw);
  EXPECT_EQ(e.name1, 100);
  EXPECT_EQ(e.name2, 101);
  EXPECT_EQ(e.record_size, 103);
  EXPECT_EQ(e.blocks, 105);
  EXPECT_EQ(e.blocks_again, 107);
  EXPECT_EQ(e.first_free_byte, 108);
  EXPECT_EQ(e.start_lbn, 110);

  Block dir{};
  PutSlot(dir.data(), 22, e);
  EXPECT_EQ(GetWord(dir.data() + 4 + 22 * 22), 100);
  EXPECT_EQ(GetWord(dir.data() + 4 + 22 * 22 + 20), 110);
  EXPECT_EQ(GetSlot(dir.data(), 22), e);
  EXPECT_EQ(dir[510], 0);  // slot 22 ends at 509
}

TEST(OnDisk, BaseNameJoinsTheHalves) {
  FileEntry e;
  e.name1 = RadixEncode("REP");
  e.name2 = RadixEncode("ORT");
  EXPECT_EQ(e.BaseName(), "REPORT");
  e.name1 = RadixEncode("AB");
  e.name2 = RadixEncode("CD");
  EXPECT_EQ(e.BaseName(), "ABCD");
  e.name1 = 29 * 1600;  // not free, but decodes to nothing
  e.name2 = 0;
  EXPECT_FALSE(e.IsFree());
  EXPECT_EQ(e.BaseName(), "");
}

TEST(OnDisk, VolumeBlockDiskIdAndTypeCount) {
  Block raw{};
  VolumeBlock v = VolumeBlock::Decode(raw.data());
  EXPECT_FALSE(v.ShowsDiskId());
  EXPECT_EQ(v.TypeCount(), 0u);
  v.SetDiskId("LABEL");
  v.type_index[0].type_code = kSystemTypeWord;
  v.type_index[1].type_code = RadixEncode("FNT");
  v.Encode(raw.data());
  EXPECT_EQ(raw[66], 'I');
  EXPECT_EQ(raw[67], 'D');
  VolumeBlock back = VolumeBlock::Decode(raw.data());
  EXPECT_TRUE(back.ShowsDiskId());
  EXPECT_EQ(back.DiskIdText(), "LABEL");
  EXPECT_EQ(back.TypeCount(), 2u);

  // A full index (68 entries, no terminator) is counted without running off the block.
  for (auto& e : back.type_index) e.type_code = 1;
  EXPECT_EQ(back.TypeCount(), kTypeIndexCapacity);
  // A disk ID filling the whole field has no terminator but is still cut.
  back.disk_id.fill('X');
  EXPECT_EQ(back.DiskIdText(), std::string(32, 'X'));
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
