#include "diskfs/create_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "diskfs/on_disk.h"
#include "support/diskfs_image_builder.h"

namespace kelvo {
namespace {

std::vector<std::uint8_t> Build(MediaKind media, std::string_view id = "") {
  std::vector<std::uint8_t> disk(51200, 0xEE);
  int count = -1;
  CreateFileSystem(disk, media, id, count);
  EXPECT_EQ(count, 80);
  return disk;
}

// Against the file system the tests build from the format on their own:
// volume block, type index, chained directories with the two system
// entries, bitmap; then the boot blocks; nothing past the 80 blocks.
TEST(CreateFileSystem, MatchesTheFormatBlockForBlock) {
  for (bool high : {false, true}) {
    SCOPED_TRACE(high ? "1.2 MB" : "720 KB");
    const auto disk = Build(high ? MediaKind::F3_1Pt2_512 : MediaKind::F3_720_512);
    test::ImageBuilder reference(high);
    for (std::size_t lbn = 1; lbn < 80; ++lbn) {
      if (lbn == 2) continue;
      ASSERT_TRUE(std::equal(disk.begin() + lbn * kBlockSize, disk.begin() + (lbn + 1) * kBlockSize,
                             reference.bytes().begin() + lbn * kBlockSize))
          << "block " << lbn;
    }
    for (std::size_t lbn : {0u, 2u}) {
      const std::uint8_t* b = disk.data() + lbn * kBlockSize;
      EXPECT_EQ(GetWord(b), 0x00A0);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 28), 32), " This is not a bootable diskette");
      for (std::size_t i = 60; i < kBlockSize; ++i) ASSERT_EQ(b[i], 0) << i;
    }
    EXPECT_EQ(disk[80 * kBlockSize], 0xEE);
  }
}

TEST(CreateFileSystem, GeometryFollowsMediaCodeAndTheDiskIdIsCut) {
  struct Case {
    int code;
    std::uint16_t highest, sectors;
  };
  for (Case c : {Case{1, 2339, 15}, Case{16, 1403, 9}, Case{2, 2807, 18}, Case{99, 2807, 18}}) {
    auto disk = Build(static_cast<MediaKind>(c.code));
    VolumeBlock v = VolumeBlock::Decode(disk.data() + kBlockSize);
    EXPECT_EQ(v.highest_lbn, c.highest) << c.code;
    EXPECT_EQ(v.sectors_per_track, c.sectors) << c.code;
  }
  auto disk = Build(MediaKind::F3_720_512, "0123456789012345678901234567890123456789");
  EXPECT_EQ(VolumeBlock::Decode(disk.data() + kBlockSize).DiskIdText(), "012345678901234567890123456789");
  EXPECT_EQ(disk[kBlockSize + 68 + 30], 0);

  std::vector<std::uint8_t> small(40959, 0xEE);  // one byte short of 80 blocks
  int count = -1;
  CreateFileSystem(small, MediaKind::F3_720_512, "", count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(std::count(small.begin(), small.end(), 0xEE), 40959);  // nothing written
}

}  // namespace
}  // namespace kelvo
