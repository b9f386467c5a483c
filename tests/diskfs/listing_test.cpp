#include "diskfs/listing.h"

#include <gtest/gtest.h>

#include "diskfs/disk_image_doc.h"
#include "support/diskfs_image_builder.h"
#include "support/watchdog.h"

namespace kelvo::test {
namespace {


DiskListing List(ImageBuilder& b, ErrorCode expected = ERR_OK) {
  // A chain walk that loops fails here within a bound.
  const test::Watchdog watchdog("listing a damaged image", 30);
  CDiskImageDoc doc;
  EXPECT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  DiskListing listing;
  EXPECT_EQ(ListFiles(doc, listing, doc.BlockCount()), expected);
  return listing;
}

bool Mentions(const DiskListing& l, const std::string& text) {
  for (const std::string& p : l.problems)
    if (p.find(text) != std::string::npos) return true;
  return false;
}

TEST(Listing, EmptyDiskShowsItsIdAndHidesTheSystemFiles) {
  ImageBuilder b;
  DiskListing l = List(b);
  EXPECT_TRUE(l.files.empty());  // BADBLK.$Y$ and BITMAP.$Y$ are not listed
  EXPECT_TRUE(l.problems.empty());
  EXPECT_TRUE(l.shows_disk_id);
  EXPECT_EQ(l.disk_id, "Kelvo Disk Utility");
  EXPECT_EQ(l.file_bytes, 0u);
  EXPECT_EQ(l.system_bytes, 40960u);  // LBN 0-4 and the 75 directory sectors
  EXPECT_EQ(l.FreeSpace(), 1403u * 512 - 40960);
  EXPECT_TRUE(IsSystemFileName("bitmap.$y$"));
  EXPECT_FALSE(IsSystemFileName("BITMAP.FNT"));

  ImageBuilder hd(true);
  EXPECT_EQ(List(hd).capacity, 2339u * 512);
  b.bytes()[512 + 66] = 0;  // no "ID" marker: no disk ID
  l = List(b);
  EXPECT_FALSE(l.shows_disk_id);
  EXPECT_EQ(l.disk_id, "");
}

TEST(Listing, FilesInIndexChainAndSlotOrder) {
  ImageBuilder b;
  b.AddBinaryFile("JSL", 0, "JOB1", 90, 1, 0x41);
  b.AddBinaryFile("FNT", 4, "REPORT", 80, 3, 0x42);
  b.AddBinaryFile("FNT", 1, "AB", 83, 2, 0x43);
  // A file in the second sector of the FNT chain (LBN 14).
  b.PutEntry(14, 0, "LAST", {0, 80, 0, 2, 0, 2, 160, 0, 85});
  DiskListing l = List(b);
  ASSERT_EQ(l.files.size(), 4u);
  EXPECT_EQ(l.files[0].name, "AB.FNT");
  EXPECT_EQ(l.files[1].name, "REPORT.FNT");
  EXPECT_EQ(l.files[2].name, "LAST.FNT");
  EXPECT_EQ(l.files[3].name, "JOB1.JSL");
  EXPECT_EQ(l.files[1].directory_lbn, 13);
  EXPECT_EQ(l.files[1].slot, 4);
  EXPECT_EQ(l.files[2].directory_lbn, 14);
  EXPECT_EQ(l.file_bytes, (1u + 3 + 2 + 2) * 512);
  EXPECT_EQ(l.FreeSpace(), 1403u * 512 - 40960 - 8 * 512);
}

TEST(Listing, SizesAndStartUseTheKeptWords) {
  ImageBuilder b;
  // w4 is subtracted from w5; w9 added to w10; w6 added to w7.
  b.PutEntry(13, 0, "ODD", {7, 512, 1, 4, 2, 3, 9, 5, 80});
  DiskListing l = List(b);
  ASSERT_EQ(l.files.size(), 1u);
  EXPECT_EQ(l.files[0].size, 3u * 512);
  EXPECT_EQ(l.files[0].Blocks(), 5u);
  EXPECT_EQ(l.files[0].StartLbn(), 85u);
  EXPECT_EQ(l.files[0].RecordSize(), 512u);
  EXPECT_EQ(l.files[0].FirstFreeByte(), 9u);
  EXPECT_EQ(l.files[0].entry.w2, 7);
}

TEST(Listing, ChainCycleIsListedOnce) {
  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "ONE", 80, 1, 1);
  b.PutEntry(15, 0, "TWO", {0, 512, 0, 1, 0, 1, 0, 0, 81});
  b.SetWord(17 * 512 + 2, 13);  // the last FNT sector links back to the first
  DiskListing l = List(b);
  ASSERT_EQ(l.files.size(), 2u);
  EXPECT_EQ(l.files[0].name, "ONE.FNT");
  EXPECT_EQ(l.files[1].name, "TWO.FNT");
  ASSERT_EQ(l.problems.size(), 1u);
  EXPECT_TRUE(Mentions(l, "FNT directory chain links back to LBN 13")) << l.problems[0];
  EXPECT_EQ(l.system_bytes, 40960u);  // each sector counted once
}

TEST(Listing, SelfLinkAndLinkOutOfRange) {
  ImageBuilder b;
  b.SetWord(6 * 512 + 2, 6);       // CMD links to itself
  b.SetWord(13 * 512 + 2, 60000);  // FNT links beyond the highest LBN
  b.SetWord(20 * 512 + 2, 1403);   // FRM links to the highest LBN itself
  b.PutEntry(13, 2, "KEPT", {0, 512, 0, 1, 0, 1, 0, 0, 80});
  DiskListing l = List(b);
  ASSERT_EQ(l.files.size(), 1u);
  EXPECT_EQ(l.files[0].name, "KEPT.FNT");
  EXPECT_EQ(l.problems.size(), 3u);
  EXPECT_TRUE(Mentions(l, "CMD directory chain links back to LBN 6"));
  EXPECT_TRUE(Mentions(l, "FNT directory chain links to LBN 60000"));
  EXPECT_TRUE(Mentions(l, "FRM directory chain links to LBN 1403"));
}

TEST(Listing, DirectorySectorsPastTheEndOfTheImageAreEmpty) {
  // The smallest image accepted holds 70 blocks: the directory sectors at
  // LBN 70 to 79 lie beyond it and read as zeros. Their links read as 0 too,
  // so the second sectors of STK and TSK (72, 77) are not reached.
  ImageBuilder whole;
  ImageBuilder small;
  small.bytes().resize(70 * 512);
  DiskListing l = List(small);
  EXPECT_TRUE(l.problems.empty());
  EXPECT_EQ(l.FreeSpace(), List(whole).FreeSpace() + 2 * 512);
  // A sector beyond the file system is damage.
  small.SetWord(512 + 100 + 6 * 18 + 4, 60000);  // JSL's first sector
  EXPECT_TRUE(Mentions(List(small), "JSL directory sector at LBN 60000 lies past the end of the image (70 blocks)"));
}

TEST(Listing, GarbageSlotsAreListedAsDecoded) {
  ImageBuilder b;
  const std::size_t slot0 = 13 * 512 + 4;
  b.SetWord(slot0, 29 * 1600);  // not free, decodes to nothing
  b.SetWord(slot0 + 22, 0xFFFF);
  b.SetWord(slot0 + 24, 0xFFFF);
  b.SetWord(slot0 + 22 + 10, 3);  // w5
  b.SetWord(slot0 + 44, Rad50("A"));
  b.SetWord(slot0 + 46, (2 * 40 + 29) * 40 + 3);  // "B", then the end code
  b.SetWord(slot0 + 66, Rad50("Z"));
  b.SetWord(slot0 + 66 + 8, 9);  // w4 above w5
  b.SetWord(slot0 + 66 + 10, 2);
  DiskListing l = List(b);
  ASSERT_EQ(l.files.size(), 4u);
  EXPECT_EQ(l.files[0].name, ".FNT");
  EXPECT_EQ(l.files[1].name, ".FNT");
  EXPECT_EQ(l.files[1].size, 3u * 512);
  EXPECT_EQ(l.files[2].name, "AB.FNT");
  EXPECT_EQ(l.files[3].name, "Z.FNT");
  EXPECT_EQ(l.files[3].size, 0u);
}

TEST(Listing, FreeSpaceNeverBelowZero) {
  ImageBuilder b;
  b.PutEntry(13, 0, "HUGE", {0, 512, 0, 0xFFFF, 0, 0xFFFF, 0, 0, 80});
  DiskListing l = List(b);
  EXPECT_EQ(l.file_bytes, 0xFFFFu * 512);
  EXPECT_EQ(l.FreeSpace(), 0u);

  // Only the mark at byte 100 (which alone makes a Kelvo disk: DiskImage
  // tests): listed without harm.
  std::vector<std::uint8_t> bytes(35840, 0);
  bytes[612] = 0xC3;
  bytes[613] = 0xAC;
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(bytes), ERR_OK);
  ASSERT_EQ(ListFiles(doc, l, doc.BlockCount()), ERR_OK);
  EXPECT_TRUE(l.files.empty());
  EXPECT_EQ(l.capacity, 0u);
  EXPECT_EQ(l.FreeSpace(), 0u);
}

TEST(Listing, TypeIndexWithoutTerminator) {
  ImageBuilder b;
  for (std::size_t i = 1; i < 68; ++i) {
    b.SetWord(512 + 100 + 6 * i, Rad50("FNT"));
    b.SetWord(512 + 100 + 6 * i + 4, 13);
  }
  b.PutEntry(13, 0, "X", {0, 512, 0, 1, 0, 1, 0, 0, 80});
  DiskListing l = List(b);
  EXPECT_EQ(l.files.size(), 67u);  // each index entry walks the chain once
  EXPECT_TRUE(l.problems.empty());
}

}  // namespace
}  // namespace kelvo::test
