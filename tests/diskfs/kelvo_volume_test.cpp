#include "diskfs/kelvo_volume.h"

#include <gtest/gtest.h>

#include "diskfs/listing.h"
#include "core/radix50.h"
#include "diskfs/disk_image_doc.h"
#include "support/diskfs_fake_drive.h"
#include "support/diskfs_image_builder.h"

namespace kelvo {
namespace {

using test::FakeDrive;
using test::ImageBuilder;

struct Fresh {
  CDiskImageDoc doc;
  Fresh() { EXPECT_EQ(doc.OnNewDocument(), ERR_OK); }
};

std::vector<std::uint8_t> Data(std::size_t blocks, std::uint8_t fill) {
  return std::vector<std::uint8_t>(blocks * kBlockSize, fill);
}

ErrorCode Store(CKelvoVolume& v, const std::string& name, const std::string& type,
                std::uint16_t blocks, std::uint8_t fill = 0x5A) {
  auto data = Data(blocks, fill);
  NewFile f{name.substr(0, 3), name.size() > 3 ? name.substr(3, 3) : "", type, 512, blocks, 0,
            data};
  return v.StoreNewFile(f);
}

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

  ASSERT_EQ(v.DeleteFile("FIRST.FNT"), ERR_OK);
  FileLocator gone;
  EXPECT_EQ(v.FindFile("FIRST.FNT", gone), ERR_FILE_NOT_FOUND);
  ASSERT_EQ(Store(v, "TWO", "FNT", 2), ERR_OK);
  ASSERT_EQ(Store(v, "FOUR", "FNT", 4), ERR_OK);
  EXPECT_EQ(StartOf(v, "TWO.FNT"), 80);
  EXPECT_EQ(StartOf(v, "FOUR.FNT"), 86);
}

TEST(KelvoVolume, EntryWordsAndLastStoredEntry) {
  Fresh f;
  CKelvoVolume v(f.doc);
  auto data = Data(2, 0x11);
  ASSERT_EQ(v.StoreNewFile({"REC", "ORD", "JSL", 80, 2, 160, data}), ERR_OK);
  FileLocator loc;
  ASSERT_EQ(v.FindFile("Record.jsl", loc), ERR_OK);
  EXPECT_EQ(loc.name, "RECORD.JSL");
  EXPECT_EQ(loc.directory_lbn, 47);
  EXPECT_EQ(loc.slot, 0);
  const FileEntry& e = loc.entry;
  EXPECT_EQ(e.name1, RadixEncode("REC"));
  EXPECT_EQ(e.name2, RadixEncode("ORD"));
  EXPECT_EQ(e.w2, 0);
  EXPECT_EQ(e.record_size, 80);
  EXPECT_EQ(e.w4, 0);
  EXPECT_EQ(e.blocks, 2);
  EXPECT_EQ(e.w6, 0);
  EXPECT_EQ(e.blocks_again, 2);
  EXPECT_EQ(e.first_free_byte, 160);
  EXPECT_EQ(e.w9, 0);
  EXPECT_EQ(e.start_lbn, 80);
  EXPECT_EQ(v.LastStoredEntry(), e);

  std::vector<std::uint8_t> back;
  ASSERT_EQ(v.ReadFileBlocks(loc, back), ERR_OK);
  EXPECT_EQ(back, data);

  // A three-character name leaves w1 at 0.
  ASSERT_EQ(v.StoreNewFile({"AB", "", "CMD", 512, 1, 0, Data(1, 1)}), ERR_OK);
  EXPECT_EQ(v.LastStoredEntry().name2, 0);
  EXPECT_EQ(v.LastStoredEntry().name1, RadixEncode("AB"));
}

TEST(KelvoVolume, BitmapFollowsStoreAndDelete) {
  Fresh f;
  CKelvoVolume v(f.doc);
  ASSERT_EQ(Store(v, "A", "DAT", 5), ERR_OK);
  const std::uint8_t* map = f.doc.Bytes().data() + 4 * kBlockSize;
  EXPECT_EQ(map[10] & 0x1F, 0);     // blocks 80-84 used
  EXPECT_EQ(map[10] & 0xE0, 0xE0);  // 85-87 free
  ASSERT_EQ(v.DeleteFile("A.DAT"), ERR_OK);
  map = f.doc.Bytes().data() + 4 * kBlockSize;
  EXPECT_EQ(map[10], 0xFF);
  // The entry is cleared to zeros.
  for (std::size_t i = 4; i < 26; ++i) EXPECT_EQ(f.doc.Bytes()[9 * kBlockSize + i], 0);
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

TEST(KelvoVolume, FirstFitNeverTakesTheShorterHole) {
  Fresh f;
  CKelvoVolume v(f.doc);
  // Used: 80-86 and 88-95; free: 87, then 96 onwards.
  ASSERT_EQ(Store(v, "A", "FNT", 7), ERR_OK);
  ASSERT_EQ(Store(v, "HOLE", "FNT", 1), ERR_OK);
  ASSERT_EQ(Store(v, "B", "FNT", 8), ERR_OK);
  ASSERT_EQ(v.DeleteFile("HOLE.FNT"), ERR_OK);
  ASSERT_EQ(Store(v, "PAIR", "FNT", 2), ERR_OK);
  EXPECT_EQ(StartOf(v, "PAIR.FNT"), 96);
  ASSERT_EQ(Store(v, "ONE", "FNT", 1), ERR_OK);
  EXPECT_EQ(StartOf(v, "ONE.FNT"), 87);
}

TEST(KelvoVolume, TypeNotInIndex) {
  Fresh f;
  CKelvoVolume v(f.doc);
  EXPECT_EQ(Store(v, "X", "ZZZ", 1), ERR_TYPE_NOT_IN_INDEX);
  AllocationRequest r{"fnt", 0, 0, 1, 0};
  ASSERT_EQ(v.FindFreeSlot(r), ERR_OK);
  EXPECT_EQ(r.directory_lbn, 13);
  EXPECT_EQ(r.slot, 0);
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

TEST(KelvoVolume, DamagedEntryNeverFreesBitsBeyondTheFileSystem) {
  ImageBuilder b;
  b.PutEntry(13, 0, "WILD", {0, 512, 0, 0xFFFF, 0, 0xFFFF, 0, 0, 1400});
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  CKelvoVolume v(doc);
  ASSERT_EQ(v.DeleteFile("WILD.FNT"), ERR_OK);
  const std::uint8_t* map = doc.Bytes().data() + 4 * kBlockSize;
  EXPECT_EQ(map[175], 0x0F);  // 1400-1403 free, 1404-1407 untouched
  for (std::size_t i = 176; i < 512; ++i) ASSERT_EQ(map[i], 0) << i;
}

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
}

TEST(KelvoVolume, DoesNotFitWhenTheFreedBlocksAreCutShort) {
  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "FULL", 80, 1400 - 80, 1);
  // A damaged entry reaching past the highest LBN: only 1400-1403 come free.
  b.PutEntry(13, 1, "TAIL", {0, 512, 0, 10, 0, 10, 0, 0, 1400});
  for (int n = 1400; n <= 1403; ++n) b.bytes()[4 * 512 + n / 8] &= static_cast<std::uint8_t>(~(1 << (n % 8)));
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  CKelvoVolume v(doc);
  FileLocator tail;
  ASSERT_EQ(v.FindFile("TAIL.FNT", tail), ERR_OK);
  EXPECT_FALSE(v.FitsAfterDelete(tail, tail.blocks));
  EXPECT_EQ(doc.Bytes(), b.bytes());
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

// The floppy form: a drive plus the caller's copy of the system area.
TEST(KelvoVolumeFloppy, BitmapLivesInTheSystemAreaCopy) {
  ImageBuilder b(false, 1404);
  FakeDrive drive(b.bytes());
  std::vector<std::uint8_t> system_area(drive.bytes.begin(), drive.bytes.begin() + 5 * kBlockSize);
  CKelvoVolume v(drive, system_area);
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

TEST(KelvoVolumeFloppy, FullDirectoryOrDiskWritesNothing) {
  ImageBuilder b(false, 1404);
  FakeDrive drive(b.bytes());
  std::vector<std::uint8_t> area(drive.bytes.begin(), drive.bytes.begin() + 5 * kBlockSize);
  CKelvoVolume v(drive, area);
  for (int i = 0; i < 23; ++i) ASSERT_EQ(Store(v, "D" + std::to_string(i), "DAT", 1), ERR_OK);
  const std::vector<std::uint8_t> before = drive.bytes;
  const int writes = drive.writes;
  EXPECT_EQ(Store(v, "D23", "DAT", 1), ERR_DIRECTORY_FULL);
  EXPECT_EQ(Store(v, "BIG", "FNT", 1400), ERR_HANDLE_DISK_FULL);
  EXPECT_EQ(drive.writes, writes);
  EXPECT_EQ(drive.bytes, before);
}

TEST(KelvoVolumeFloppy, FailedBitmapWriteUndoesTheEntry) {
  ImageBuilder b(false, 1404);
  FakeDrive drive(b.bytes());
  std::vector<std::uint8_t> system_area(drive.bytes.begin(), drive.bytes.begin() + 5 * kBlockSize);
  CKelvoVolume v(drive, system_area);
  drive.fail_write_number = 3;  // data, directory, then the bitmap fails
  const std::vector<std::uint8_t> area_before = system_area;
  EXPECT_EQ(Store(v, "A", "FNT", 3), ERR_WRITE_PROTECT);
  FileLocator loc;
  EXPECT_EQ(v.FindFile("A.FNT", loc), ERR_FILE_NOT_FOUND);
  EXPECT_EQ(system_area, area_before);
  EXPECT_TRUE(std::equal(b.bytes().begin(), b.bytes().begin() + 80 * kBlockSize,
                         drive.bytes.begin()));
  EXPECT_EQ(drive.locks, drive.unlocks);

  // Directory write failing: nothing but the (free) data blocks was written.
  drive.writes = 0;
  drive.fail_write_number = 2;
  EXPECT_EQ(Store(v, "A", "FNT", 3), ERR_WRITE_PROTECT);
  EXPECT_TRUE(std::equal(b.bytes().begin(), b.bytes().begin() + 80 * kBlockSize,
                         drive.bytes.begin()));
}

TEST(KelvoVolumeFloppy, FailedDeleteKeepsTheFile) {
  ImageBuilder b(false, 1404);
  b.AddBinaryFile("FNT", 0, "KEEP", 80, 2, 0x33);
  FakeDrive drive(b.bytes());
  std::vector<std::uint8_t> system_area(drive.bytes.begin(), drive.bytes.begin() + 5 * kBlockSize);
  CKelvoVolume v(drive, system_area);
  FileLocator loc;
  ASSERT_EQ(v.FindFile("KEEP.FNT", loc), ERR_OK);
  drive.fail_write_number = 2;  // the bitmap write
  EXPECT_EQ(v.DeleteFile(loc), ERR_WRITE_PROTECT);
  EXPECT_EQ(drive.bytes, b.bytes());
  EXPECT_EQ(v.FindFile("KEEP.FNT", loc), ERR_OK);
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

TEST(KelvoVolumeDamage, DataNeverLandsOnSystemBlocks) {
  ImageBuilder b;
  std::fill(b.bytes().begin() + 4 * 512, b.bytes().begin() + 4 * 512 + 10, 0xFF);  // 0-79 "free"
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  CKelvoVolume v(doc);
  ASSERT_EQ(Store(v, "SAFE", "FNT", 3), ERR_OK);
  // Blocks 5 to 79 are directory sectors; the only other system blocks are 0-4.
  EXPECT_EQ(StartOf(v, "SAFE.FNT"), 80);
}

TEST(KelvoVolumeDamage, BitmapOnADirectorySectorIsNeverWritten) {
  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "OLD", 80, 1, 1);
  b.SetWord(512 + 12, 13);  // the bitmap LBN names the first FNT directory sector
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  CKelvoVolume v(doc);
  EXPECT_EQ(Store(v, "NEW", "JSL", 1), ERR_DAMAGED_LAYOUT);
  EXPECT_EQ(v.DeleteFile("OLD.FNT"), ERR_DAMAGED_LAYOUT);
  b.SetWord(512 + 12, 1);  // ... or the volume block
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  EXPECT_EQ(Store(v, "NEW", "JSL", 1), ERR_DAMAGED_LAYOUT);
  EXPECT_EQ(doc.Bytes(), b.bytes());
}

TEST(KelvoVolumeFloppy, LargeCopyServesReadsAndFollowsWrites) {
  ImageBuilder b(false, 1404);
  FakeDrive drive(b.bytes());
  std::vector<std::uint8_t> area(drive.bytes.begin(), drive.bytes.begin() + 90 * kBlockSize);
  CKelvoVolume v(drive, area);
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
}  // namespace kelvo
