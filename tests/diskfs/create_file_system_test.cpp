#include "diskfs/create_file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diskfs/on_disk.h"
#include "core/radix50.h"

namespace kelvo {
namespace {

std::vector<std::uint8_t> Build(MediaKind media, std::string_view id = "") {
  std::vector<std::uint8_t> disk(51200, 0xEE);
  int count = -1;
  CreateFileSystem(disk, media, id, count);
  EXPECT_EQ(count, 80);
  return disk;
}

const std::uint8_t* BlockAt(const std::vector<std::uint8_t>& disk, std::size_t lbn) {
  return disk.data() + lbn * kBlockSize;
}

TEST(CreateFileSystem, BufferEdge) {
  std::vector<std::uint8_t> small(40959, 0xEE);
  int count = -1;
  CreateFileSystem(small, MediaKind::F3_720_512, "", count);
  EXPECT_EQ(count, 0);
  for (std::uint8_t b : small) ASSERT_EQ(b, 0xEE);  // nothing written

  std::vector<std::uint8_t> exact(40960, 0xEE);
  CreateFileSystem(exact, MediaKind::F3_720_512, "", count);
  EXPECT_EQ(count, 80);
}

TEST(CreateFileSystem, BootBlocks) {
  auto disk = Build(MediaKind::F3_720_512);
  for (std::size_t lbn : {0u, 2u}) {
    const std::uint8_t* b = BlockAt(disk, lbn);
    EXPECT_EQ(b[0], 0xA0);
    EXPECT_EQ(b[1], 0x00);
    EXPECT_EQ(b[2], 0xC6);
    EXPECT_EQ(b[3], 0x15);
    EXPECT_EQ(b[26], 0x00);
    EXPECT_EQ(b[27], 0xF6);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 28), 32),
              " This is not a bootable diskette");
    for (std::size_t i = 60; i < kBlockSize; ++i) ASSERT_EQ(b[i], 0) << i;
  }
  for (std::size_t i = 0; i < kBlockSize; ++i) ASSERT_EQ(BlockAt(disk, 3)[i], 0);
}

TEST(CreateFileSystem, VolumeBlockOf720K) {
  auto disk = Build(MediaKind::F3_720_512);
  const std::uint8_t* v = BlockAt(disk, 1);
  const std::uint8_t expected_head[18] = {0, 0, 0x7B, 0x05, 2, 0, 9, 0, 1, 0, 0, 0, 4, 0, 0, 0, 1, 0};
  for (std::size_t i = 0; i < 18; ++i) EXPECT_EQ(v[i], expected_head[i]) << i;
  for (std::size_t i = 18; i < 66; ++i) EXPECT_EQ(v[i], 0) << i;
  EXPECT_EQ(v[66], 'I');
  EXPECT_EQ(v[67], 'D');
  std::string id(reinterpret_cast<const char*>(v + 68), 32);
  EXPECT_EQ(id, std::string("Kelvo Disk Utility") + std::string(14, '\0'));

  // Type index: one entry per table row, directories from LBN 5 on, then zeros.
  const std::uint16_t codes[35] = {0xACC3, 0x14CC, 0x14CD, 0x193C, 0x26FB, 0x27D4, 0x27C4,
                                   0x2874, 0x285D, 0x2884, 0x38CC, 0x38F2, 0x3A6C, 0x3A4F,
                                   0x8A76, 0x8A7D, 0x3B44, 0x3F2C, 0x4184, 0x4C3C, 0x4C27,
                                   0x4C6A, 0x4D5F, 0x543B, 0x60BC, 0x6480, 0x64A5, 0x76EE,
                                   0x79EB, 0x7ABB, 0x7F86, 0x7F18, 0x8003, 0x800C, 0x454B};
  const std::uint16_t first_lbn[35] = {5,  6,  8,  9,  10, 11, 13, 18, 20, 25, 30, 32,
                                       34, 37, 39, 40, 41, 43, 47, 51, 53, 55, 57, 59,
                                       60, 61, 66, 69, 71, 73, 74, 75, 76, 78, 79};
  for (std::size_t i = 0; i < 35; ++i) {
    const std::uint8_t* e = v + 100 + 6 * i;
    EXPECT_EQ(GetWord(e), codes[i]) << i;
    EXPECT_EQ(GetWord(e), RadixEncode(TypeDirectoryTable[i].type)) << i;
    EXPECT_EQ(GetWord(e + 2), 0) << i;
    EXPECT_EQ(GetWord(e + 4), first_lbn[i]) << i;
  }
  for (std::size_t i = 100 + 6 * 35; i < kBlockSize; ++i) EXPECT_EQ(v[i], 0) << i;
}

TEST(CreateFileSystem, DirectoriesAreChainedAndEmpty) {
  auto disk = Build(MediaKind::F3_720_512);
  // $Y$ at LBN 5 holds the two system entries.
  const std::uint8_t* sys = BlockAt(disk, 5);
  const std::uint16_t bad[11] = {0x0CAC, 0x0E6B, 0, 0, 0, 1, 0, 1, 0, 0, 3};
  const std::uint16_t map[11] = {0x0DFC, 0x5178, 0, 0, 0, 1, 0, 1, 0, 0, 4};
  for (std::size_t w = 0; w < 11; ++w) {
    EXPECT_EQ(GetWord(sys + 4 + 2 * w), bad[w]) << w;
    EXPECT_EQ(GetWord(sys + 26 + 2 * w), map[w]) << w;
  }
  for (std::size_t i = 48; i < kBlockSize; ++i) ASSERT_EQ(sys[i], 0) << i;
  EXPECT_EQ(GetWord(sys + 2), 0);

  // FNT: five sectors 13-17 chained in order, the last link 0.
  for (std::size_t lbn = 13; lbn <= 17; ++lbn) {
    const std::uint8_t* d = BlockAt(disk, lbn);
    EXPECT_EQ(GetWord(d + 2), lbn == 17 ? 0 : lbn + 1) << lbn;
    EXPECT_EQ(GetWord(d), 0);
    for (std::size_t i = 4; i < kBlockSize; ++i) ASSERT_EQ(d[i], 0) << lbn << ":" << i;
  }
  // KCS, the last type, at LBN 79.
  EXPECT_EQ(GetWord(BlockAt(disk, 79) + 2), 0);
  // Buffer past the 80 blocks is untouched.
  EXPECT_EQ(disk[80 * kBlockSize], 0xEE);
}

TEST(CreateFileSystem, BitmapOf720K) {
  auto disk = Build(MediaKind::F3_720_512);
  const std::uint8_t* map = BlockAt(disk, 4);
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(map[i], 0) << i;
  for (std::size_t n = 80; n <= 1403; ++n) ASSERT_TRUE((map[n / 8] >> (n % 8)) & 1) << n;
  for (std::size_t n = 1404; n < 4096; ++n) ASSERT_FALSE((map[n / 8] >> (n % 8)) & 1) << n;
  EXPECT_EQ(map[175], 0x0F);  // blocks 1400-1403 free, 1404-1407 not
}

TEST(CreateFileSystem, GeometryFollowsMediaCode) {
  struct Case {
    int code;
    std::uint16_t highest, sectors;
  };
  for (Case c : {Case{1, 2339, 15}, Case{17, 2339, 15}, Case{5, 1403, 9}, Case{16, 1403, 9},
                 Case{2, 2807, 18}, Case{15, 2807, 18}, Case{99, 2807, 18}}) {
    auto disk = Build(static_cast<MediaKind>(c.code));
    VolumeBlock v = VolumeBlock::Decode(BlockAt(disk, 1));
    EXPECT_EQ(v.highest_lbn, c.highest) << c.code;
    EXPECT_EQ(v.sectors_per_track, c.sectors) << c.code;
    EXPECT_EQ(v.heads, 2);
  }
}

TEST(CreateFileSystem, BitmapOf1200K) {
  auto disk = Build(MediaKind::F3_1Pt2_512);
  CAllocationBitmap map(std::span<std::uint8_t, kBlockSize>(disk.data() + 4 * kBlockSize, kBlockSize));
  EXPECT_FALSE(map.IsFree(79));
  EXPECT_TRUE(map.IsFree(80));
  EXPECT_TRUE(map.IsFree(2339));
  EXPECT_FALSE(map.IsFree(2340));
  EXPECT_EQ(VolumeBlock::Decode(BlockAt(disk, 1)).highest_lbn, 0x0923);
}

TEST(CreateFileSystem, DiskIdIsCutToThirtyCharacters) {
  auto disk = Build(MediaKind::F3_720_512, "0123456789012345678901234567890123456789");
  VolumeBlock v = VolumeBlock::Decode(BlockAt(disk, 1));
  EXPECT_EQ(v.DiskIdText(), "012345678901234567890123456789");
  EXPECT_EQ(BlockAt(disk, 1)[68 + 30], 0);
  EXPECT_EQ(BlockAt(disk, 1)[68 + 31], 0);

  auto own = Build(MediaKind::F3_720_512, "Spare fonts");
  EXPECT_EQ(VolumeBlock::Decode(BlockAt(own, 1)).DiskIdText(), "Spare fonts");
}

}  // namespace
}  // namespace kelvo
