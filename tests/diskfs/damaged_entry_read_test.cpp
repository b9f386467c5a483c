// A directory entry whose blocks reach past the disk's last block cannot be
// read: exporting it fails with "sector not found" instead of producing a
// file of zeros as long as the entry claims.
#include <gtest/gtest.h>

#include <filesystem>

#include "diskfs/kelvo_volume.h"
#include "diskfs/disk_image_doc.h"
#include "support/diskfs_image_builder.h"
#include "support/test_support.h"

namespace kelvo {
namespace {

using test::ImageBuilder;

// An image whose FNT directory holds one file of `blocks` blocks at `start`
// (the 720 KB layout: highest LBN 1403).
CDiskImageDoc ImageWithEntry(std::uint16_t start, std::uint16_t blocks) {
  ImageBuilder b;
  b.PutEntry(13, 0, "TAIL", {0, 512, 0, blocks, 0, blocks, 0, 0, start});
  CDiskImageDoc doc;
  EXPECT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  return doc;
}

TEST(DamagedEntryRead, FileEndingOnTheLastBlockIsRead) {
  CDiskImageDoc doc = ImageWithEntry(1400, 4);  // LBN 1400 to 1403
  CKelvoVolume v(doc);
  FileLocator file;
  ASSERT_EQ(v.FindFile("TAIL.FNT", file), ERR_OK);
  std::vector<std::uint8_t> data;
  ASSERT_EQ(v.ReadFileBlocks(file, data), ERR_OK);
  EXPECT_EQ(data.size(), 4 * kBlockSize);
}

TEST(DamagedEntryRead, FileReachingPastTheLastBlockIsRefused) {
  for (std::uint16_t blocks : {std::uint16_t{5}, std::uint16_t{0xFFFF}}) {
    CDiskImageDoc doc = ImageWithEntry(1400, blocks);
    CKelvoVolume v(doc);
    FileLocator file;
    ASSERT_EQ(v.FindFile("TAIL.FNT", file), ERR_OK);
    std::vector<std::uint8_t> data;
    EXPECT_EQ(v.ReadFileBlocks(file, data), ERR_SECTOR_NOT_FOUND) << blocks;

    test::TempDir dir;
    EXPECT_EQ(v.ExportFile("TAIL.FNT", dir / "Tail.fnt", ExportOptions{}), ERR_SECTOR_NOT_FOUND);
    EXPECT_FALSE(std::filesystem::exists(dir / "Tail.fnt"));
  }
}

TEST(DamagedEntryRead, StartPastTheLastBlockIsRefused) {
  CDiskImageDoc doc = ImageWithEntry(0xFFF0, 1);
  CKelvoVolume v(doc);
  FileLocator file;
  ASSERT_EQ(v.FindFile("TAIL.FNT", file), ERR_OK);
  std::vector<std::uint8_t> data;
  EXPECT_EQ(v.ReadFileBlocks(file, data), ERR_SECTOR_NOT_FOUND);
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

// A volume block claiming the highest LBN 65535 with its bitmap at 60000: the
// bitmap lies outside the 4096 blocks a bitmap sector covers, so no store or
// delete is made, and the image does not grow to reach it.
TEST(DamagedEntryRead, BitmapBeyondWhatABitmapCoversIsNotWritten) {
  test::ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "FONT", 80, 2, 0x11);
  b.SetWord(512 + 2, 0xFFFF);  // highest LBN
  b.SetWord(512 + 12, 60000);  // bitmap LBN
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  CKelvoVolume v(doc);
  EXPECT_EQ(v.DeleteFile("FONT.FNT"), ERR_DAMAGED_LAYOUT);
  EXPECT_EQ(v.StoreFile("NEW.FNT", std::vector<std::uint8_t>(512, 1)), ERR_DAMAGED_LAYOUT);
  EXPECT_EQ(doc.Bytes(), b.bytes());
}

}  // namespace
}  // namespace kelvo
