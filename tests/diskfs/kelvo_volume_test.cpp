#include "diskfs/kelvo_volume.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "diskfs/listing.h"
#include "diskfs/disk_image_doc.h"
#include "support/diskfs_fake_drive.h"
#include "support/diskfs_image_builder.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {


struct Fresh {
  CDiskImageDoc doc;
  Fresh() { EXPECT_EQ(doc.OnNewDocument(), ERR_OK); }
};

ErrorCode Store(CKelvoVolume& v, const std::string& name, const std::string& type,
                std::uint16_t blocks, std::uint8_t fill = 0x5A) {
  const std::vector<std::uint8_t> data(blocks * kBlockSize, fill);
  NewFile f{name.substr(0, 3), name.size() > 3 ? name.substr(3, 3) : "", type, 512, blocks, 0,
            data};
  return v.StoreNewFile(f);
}

// The floppy form: a drive plus the caller's copy of its first
// `area_blocks` blocks (the system area). Write faults on a drive are tried
// at every request in reliability/floppy_faults_test.cpp.
struct OnDrive {
  ImageBuilder b{false, 1404};
  FakeDrive drive{b.bytes()};
  std::vector<std::uint8_t> area;
  CKelvoVolume v;
  explicit OnDrive(std::size_t area_blocks = 5)
      : area(drive.bytes.begin(), drive.bytes.begin() + std::ptrdiff_t(area_blocks * kBlockSize)), v(drive, area) {}
};

std::uint16_t StartOf(CKelvoVolume& v, const std::string& name) {
  FileLocator loc;
  EXPECT_EQ(v.FindFile(name, loc), ERR_OK) << name;
  return loc.start_lbn;
}

TEST(KelvoVolume, StoresGetConsecutiveBlocksAndDeleteReusesThem) {
  Fresh f;
  CKelvoVolume v(f.doc);
  ASSERT_EQ(Store(v, "FIRST", "FNT", 3), ERR_OK);
  ASSERT_EQ(Store(v, "SECOND", "FNT", 3), ERR_OK);
  EXPECT_EQ(StartOf(v, "FIRST.FNT"), 80);
  EXPECT_EQ(StartOf(v, "second.fnt"), 83);
  EXPECT_EQ(f.doc.BlockCount(), 86u);  // the image grew to hold the data
  EXPECT_TRUE(f.doc.IsModified());
  auto map = [&f] { return f.doc.Bytes()[4 * kBlockSize + 10]; };  // blocks 80-87
  EXPECT_EQ(map(), 0xC0);

  ASSERT_EQ(v.DeleteFile("FIRST.FNT"), ERR_OK);
  EXPECT_EQ(map(), 0xC7);
  FileLocator gone;
  EXPECT_EQ(v.FindFile("FIRST.FNT", gone), ERR_FILE_NOT_FOUND);
  // The entry is cleared to zeros.
  EXPECT_EQ(std::count(f.doc.Bytes().begin() + 13 * kBlockSize + 4, f.doc.Bytes().begin() + 13 * kBlockSize + 26, 0), 22);
  ASSERT_EQ(Store(v, "TWO", "FNT", 2), ERR_OK);
  ASSERT_EQ(Store(v, "FOUR", "FNT", 4), ERR_OK);
  EXPECT_EQ(StartOf(v, "TWO.FNT"), 80);
  EXPECT_EQ(StartOf(v, "FOUR.FNT"), 86);
}

TEST(KelvoVolume, EntryWordsAndLastStoredEntry) {
  Fresh f;
  CKelvoVolume v(f.doc);
  const std::vector<std::uint8_t> data(2 * kBlockSize, 0x11);
  ASSERT_EQ(v.StoreNewFile({"REC", "ORD", "JSL", 80, 2, 160, data}), ERR_OK);
  FileLocator loc;
  ASSERT_EQ(v.FindFile("Record.jsl", loc), ERR_OK);
  EXPECT_EQ(loc.name, "RECORD.JSL");
  EXPECT_EQ(loc.directory_lbn, 47);
  EXPECT_EQ(loc.slot, 0);
  // The entry's words, against the format.
  const std::uint8_t* slot = f.doc.Bytes().data() + 47 * kBlockSize + 4;
  const std::vector<std::uint16_t> words = {test::Rad50("REC"), test::Rad50("ORD"), 0, 80, 0, 2, 0, 2, 160, 0, 80};
  for (std::size_t i = 0; i < words.size(); ++i) EXPECT_EQ(test::WordAt(slot, 2 * i), words[i]) << "w" << i;
  EXPECT_EQ(v.LastStoredEntry(), loc.entry);

  std::vector<std::uint8_t> back;
  ASSERT_EQ(v.ReadFileBlocks(loc, back), ERR_OK);
  EXPECT_EQ(back, data);

}

TEST(KelvoVolume, FullDiskChangesNothing) {
  Fresh f;
  CKelvoVolume v(f.doc);
  ASSERT_EQ(Store(v, "BIG", "FNT", 1403 - 80), ERR_OK);  // leaves block 1403 free
  const std::vector<std::uint8_t> before = f.doc.Bytes();
  EXPECT_EQ(Store(v, "TWO", "FNT", 2), ERR_HANDLE_DISK_FULL);
  EXPECT_EQ(f.doc.Bytes(), before);
  EXPECT_EQ(Store(v, "ONE", "FNT", 1), ERR_OK);
  EXPECT_EQ(StartOf(v, "ONE.FNT"), 1403);
  std::uint64_t free_bytes = 1;
  ASSERT_EQ(v.FreeSpace(free_bytes), ERR_OK);
  EXPECT_EQ(free_bytes, 0u);  // capacity counts 1403 blocks, the files fill 1324
}

TEST(KelvoVolume, ZeroBlockFile) {
  Fresh f;
  CKelvoVolume v(f.doc);
  ASSERT_EQ(v.StoreNewFile({"EMP", "TY", "FNT", 512, 0, 0, {}}), ERR_OK);
  FileLocator loc;
  ASSERT_EQ(v.FindFile("EMPTY.FNT", loc), ERR_OK);
  EXPECT_EQ(loc.blocks, 0);
  EXPECT_EQ(loc.start_lbn, 0);
  std::vector<std::uint8_t> back{1, 2};
  ASSERT_EQ(v.ReadFileBlocks(loc, back), ERR_OK);
  EXPECT_TRUE(back.empty());
  const std::vector<std::uint8_t> bitmap_before(f.doc.Bytes().begin() + 2048,
                                                f.doc.Bytes().begin() + 2560);
  ASSERT_EQ(v.DeleteFile(loc), ERR_OK);
  EXPECT_TRUE(std::equal(bitmap_before.begin(), bitmap_before.end(),
                         f.doc.Bytes().begin() + 2048));
}

// Whether a replacement fits once the old file is gone, asked without
// changing anything: the freed blocks count only up to the highest LBN.
TEST(KelvoVolume, FitsAfterDelete) {
  Fresh f;
  CKelvoVolume v(f.doc);
  ASSERT_EQ(Store(v, "BIG", "FNT", 1300), ERR_OK);
  ASSERT_EQ(Store(v, "REST", "FNT", 23), ERR_OK);  // disk now full but for block 1403
  FileLocator big;
  ASSERT_EQ(v.FindFile("BIG.FNT", big), ERR_OK);
  const std::vector<std::uint8_t> before = f.doc.Bytes();
  EXPECT_TRUE(v.FitsAfterDelete(big, big.blocks));
  EXPECT_EQ(f.doc.Bytes(), before);

  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "FULL", 80, 1400 - 80, 1);
  // A damaged entry reaching past the highest LBN: only 1400-1403 come free.
  b.PutEntry(13, 1, "TAIL", {0, 512, 0, 10, 0, 10, 0, 0, 1400});
  b.SetFree(1400, 4, false);
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  CKelvoVolume damaged(doc);
  FileLocator tail;
  ASSERT_EQ(damaged.FindFile("TAIL.FNT", tail), ERR_OK);
  EXPECT_FALSE(damaged.FitsAfterDelete(tail, tail.blocks));
  EXPECT_EQ(doc.Bytes(), b.bytes());
}

// An entry whose blocks reach past the disk's last block cannot be read:
// exporting it fails instead of giving a file of zeros as long as the entry
// claims.
TEST(KelvoVolume, EntriesReachingPastTheLastBlockAreNotRead) {
  struct Case {
    std::uint16_t start, blocks;
    ErrorCode rc;
  } cases[] = {{1400, 4, ERR_OK}, {1400, 5, ERR_SECTOR_NOT_FOUND}, {1400, 0xFFFF, ERR_SECTOR_NOT_FOUND},
               {0xFFF0, 1, ERR_SECTOR_NOT_FOUND}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.start) + "+" + std::to_string(c.blocks));
    ImageBuilder b;
    b.PutEntry(13, 0, "TAIL", {0, 512, 0, c.blocks, 0, c.blocks, 0, 0, c.start});
    CDiskImageDoc doc;
    ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
    CKelvoVolume v(doc);
    FileLocator file;
    ASSERT_EQ(v.FindFile("TAIL.FNT", file), ERR_OK);
    std::vector<std::uint8_t> data;
    EXPECT_EQ(v.ReadFileBlocks(file, data), c.rc);
    if (c.rc == ERR_OK) {
      EXPECT_EQ(data.size(), c.blocks * kBlockSize);
    }
    test::TempDir dir;
    EXPECT_EQ(v.ExportFile("TAIL.FNT", dir / "Tail.fnt", ExportOptions{}), c.rc);
    EXPECT_EQ(std::filesystem::exists(dir / "Tail.fnt"), c.rc == ERR_OK);
  }
}

TEST(KelvoVolume, SystemFilesCannotBeDeletedOrRenamed) {
  Fresh f;
  CKelvoVolume v(f.doc);
  const std::vector<std::uint8_t> before = f.doc.Bytes();
  FileLocator bitmap;
  ASSERT_EQ(v.FindFile("BITMAP.$Y$", bitmap), ERR_OK);
  EXPECT_EQ(bitmap.start_lbn, 4);
  EXPECT_EQ(v.DeleteFile(bitmap), ERR_ACCESS_DENIED);
  EXPECT_EQ(v.DeleteFile("badblk.$y$"), ERR_ACCESS_DENIED);
  EXPECT_EQ(v.RenameFile("BITMAP.$Y$", "BITMAP.FNT"), ERR_ACCESS_DENIED);
  EXPECT_EQ(f.doc.Bytes(), before);
}

TEST(KelvoVolumeFloppy, BitmapLivesInTheSystemAreaCopy) {
  OnDrive d;
  auto& [b, drive, system_area, v] = d;
  ASSERT_EQ(Store(v, "A", "FNT", 3), ERR_OK);
  ASSERT_EQ(Store(v, "B", "FNT", 3), ERR_OK);
  EXPECT_EQ(StartOf(v, "B.FNT"), 83);
  EXPECT_EQ(drive.locks, drive.unlocks);
  EXPECT_EQ(drive.locks, 2);
  // The copy and the disk carry the same bitmap.
  EXPECT_TRUE(std::equal(system_area.begin() + 2048, system_area.end(),
                         drive.bytes.begin() + 2048));
  EXPECT_EQ(system_area[2048 + 10], 0xC0);

  // A stale disk bitmap is not consulted: the copy decides.
  std::memset(drive.bytes.data() + 2048, 0xFF, 512);
  ASSERT_EQ(Store(v, "C", "FNT", 1), ERR_OK);
  EXPECT_EQ(StartOf(v, "C.FNT"), 86);
}

TEST(KelvoVolumeDamage, DataNeverLandsOnSystemBlocks) {
  ImageBuilder b;
  b.SetFree(0, 80, true);  // a damaged bitmap: the system blocks "free"
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  CKelvoVolume v(doc);
  ASSERT_EQ(Store(v, "SAFE", "FNT", 3), ERR_OK);
  // Blocks 5 to 79 are directory sectors; the only other system blocks are 0-4.
  EXPECT_EQ(StartOf(v, "SAFE.FNT"), 80);
}

// A bitmap LBN on a directory sector or the volume block, or past the
// 4096 blocks a bitmap sector covers: no store or delete is made, and the
// image does not grow to reach it.
TEST(KelvoVolumeDamage, MisplacedBitmapIsNeverWritten) {
  struct Case {
    std::uint16_t bitmap, highest;
  } cases[] = {{13, 1403}, {1, 1403}, {60000, 0xFFFF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bitmap);
    ImageBuilder b;
    b.AddBinaryFile("FNT", 0, "OLD", 80, 1, 1);
    b.SetWord(512 + 2, c.highest);
    b.SetWord(512 + 12, c.bitmap);
    CDiskImageDoc doc;
    ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
    CKelvoVolume v(doc);
    EXPECT_EQ(Store(v, "NEW", "JSL", 1), ERR_DAMAGED_LAYOUT);
    EXPECT_EQ(v.DeleteFile("OLD.FNT"), ERR_DAMAGED_LAYOUT);
    EXPECT_EQ(doc.Bytes(), b.bytes());
  }
}

TEST(KelvoVolumeFloppy, LargeCopyServesReadsAndFollowsWrites) {
  OnDrive d(90);
  auto& [b, drive, area, v] = d;
  ASSERT_EQ(Store(v, "A", "FNT", 2), ERR_OK);
  // Directory and bitmap changes reached both the drive and the copy.
  EXPECT_TRUE(std::equal(area.begin(), area.end(), drive.bytes.begin()));
  // Reads of blocks the copy holds do not touch the drive: a drive whose
  // system area is wiped still shows the copy's files.
  std::fill(drive.bytes.begin(), drive.bytes.begin() + 80 * kBlockSize, 0);
  FileLocator loc;
  EXPECT_EQ(v.FindFile("A.FNT", loc), ERR_OK);
}

}  // namespace
}  // namespace kelvo::test
