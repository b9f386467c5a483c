#include "diskfs/consistency_check.h"

#include <gtest/gtest.h>

#include "diskfs/disk_image_doc.h"
#include "support/diskfs_fake_drive.h"
#include "support/diskfs_image_builder.h"

namespace kelvo::test {
namespace {

constexpr std::size_t kVolume = 512;
constexpr std::size_t kBitmap = 4 * 512;

void SetFree(ImageBuilder& disk, std::uint32_t block, bool free) {
  std::uint8_t& byte = disk.bytes().at(kBitmap + block / 8);
  const auto bit = static_cast<std::uint8_t>(1u << (block % 8));
  byte = free ? static_cast<std::uint8_t>(byte | bit) : static_cast<std::uint8_t>(byte & ~bit);
}

void Link(ImageBuilder& disk, std::uint16_t from, std::uint16_t to) {
  disk.SetWord(std::size_t{from} * 512 + 2, to);
}

// A disk with two well-formed files.
ImageBuilder TwoFiles() {
  ImageBuilder disk;
  disk.AddBinaryFile("FNT", 0, "REPORT", 80, 3, 0x11);
  disk.AddBinaryFile("TSK", 0, "JOB", 83, 2, 0x22);
  return disk;
}

CheckReport Check(ImageBuilder& disk) {
  CDiskImageDoc doc;
  EXPECT_EQ(doc.LoadImage(disk.bytes()), 0u);
  CheckReport report;
  EXPECT_EQ(CheckDiskConsistency(doc, report, doc.BlockCount()), 0u);
  return report;
}

std::string Texts(const CheckReport& report) {
  std::string all;
  for (const CheckFinding& f : report.findings) all += f.text + "\n";
  return all;
}

TEST(ConsistencyCheck, AWellFormedDiskIsClean) {
  ImageBuilder disk = TwoFiles();
  const CheckReport report = Check(disk);
  EXPECT_TRUE(report.findings.empty()) << Texts(report);
  EXPECT_EQ(report.files, 2u);
  EXPECT_EQ(report.directory_sectors, 75u);
  EXPECT_EQ(report.highest_lbn, 1403u);
}

TEST(ConsistencyCheck, FindsOverlappingFilesAndBlocksMarkedFree) {
  ImageBuilder disk = TwoFiles();
  // Shares 82 with REPORT and 83-84 with JOB; files are named in directory order.
  disk.AddBinaryFile("IMG", 0, "LOGO", 82, 4, 0x33);
  SetFree(disk, 85, true);
  const CheckReport report = Check(disk);
  EXPECT_FALSE(report.Clean());
  EXPECT_EQ(report.DamageCount(), 3u) << Texts(report);
  EXPECT_NE(Texts(report).find("REPORT.FNT and LOGO.IMG share 1 block(s) from LBN 82"), std::string::npos)
      << Texts(report);
  EXPECT_NE(Texts(report).find("LOGO.IMG and JOB.TSK share 2 block(s) from LBN 83"), std::string::npos);
  EXPECT_NE(Texts(report).find("LOGO.IMG has 1 block(s) marked free in the bitmap, the first at LBN 85"),
            std::string::npos);
}

TEST(ConsistencyCheck, FindsChainsThatLoopOrLeaveTheDisk) {
  ImageBuilder cycle = TwoFiles();
  Link(cycle, 17, 14);  // FNT: 13 .. 17 -> 14
  CheckReport report = Check(cycle);
  EXPECT_TRUE(report.Has(FindingKind::ChainCycle)) << Texts(report);
  EXPECT_EQ(report.files, 2u);  // each sector's entries taken once

  ImageBuilder beyond = TwoFiles();
  Link(beyond, 13, 5000);
  report = Check(beyond);
  EXPECT_TRUE(report.Has(FindingKind::ChainOutOfRange)) << Texts(report);

  ImageBuilder short_image = TwoFiles();
  Link(short_image, 13, 1000);  // below the highest LBN, past the image: reads as zeros
  report = Check(short_image);
  EXPECT_FALSE(report.Has(FindingKind::ChainOutOfRange)) << Texts(report);

  ImageBuilder start = TwoFiles();
  start.SetWord(kVolume + 100 + 6 * 6 + 4, 0);  // FNT, the 7th index entry, starts at LBN 0
  report = Check(start);
  EXPECT_TRUE(report.Has(FindingKind::ChainOutOfRange)) << Texts(report);
  EXPECT_EQ(report.files, 1u);
}

TEST(ConsistencyCheck, FindsAnEntryWhoseNameReadsAsEmpty) {
  ImageBuilder disk = TwoFiles();
  disk.AddBinaryFile("FNT", 1, "X", 90, 1, 0x77);
  disk.SetWord(13 * 512 + 4 + 22, 29 * 1600);  // a first word that decodes to nothing
  const CheckReport report = Check(disk);
  EXPECT_EQ(report.DamageCount(), 1u) << Texts(report);
  EXPECT_NE(Texts(report).find("the entry at LBN 13 slot 1 has a name that reads as empty (listed as .fnt)"),
            std::string::npos)
      << Texts(report);
}

TEST(ConsistencyCheck, FindsADirectorySectorInTwoChains) {
  ImageBuilder disk = TwoFiles();
  Link(disk, 17, 6);  // the FNT chain runs on into the CMD directory
  const CheckReport report = Check(disk);
  EXPECT_TRUE(report.Has(FindingKind::SharedDirectory)) << Texts(report);
}

TEST(ConsistencyCheck, FindsEntriesPastTheHighestLbnAndOnTheSystemArea) {
  ImageBuilder disk = TwoFiles();
  disk.AddBinaryFile("IMG", 0, "HUGE", 1400, 10, 0x44);
  disk.AddBinaryFile("IMG", 1, "SYS", 10, 2, 0x55);
  const CheckReport report = Check(disk);
  EXPECT_TRUE(report.Has(FindingKind::EntryPastHighestLbn)) << Texts(report);
  EXPECT_NE(Texts(report).find("HUGE.IMG occupies LBN 1400 to 1409, past the highest LBN 1403"),
            std::string::npos);
  EXPECT_TRUE(report.Has(FindingKind::FileOnSystemBlocks));
  // The files' bits cleared blocks 10 and 11 of the directories: still used.
  EXPECT_FALSE(report.Has(FindingKind::SystemBlockFree));
}

TEST(ConsistencyCheck, FindsDuplicateNamesAndTypes) {
  ImageBuilder disk = TwoFiles();
  disk.AddBinaryFile("FNT", 5, "REPORT", 90, 1, 0x66);
  disk.SetWord(kVolume + 100 + 35 * 6, 0x27C4);  // a 36th index entry: FNT again
  disk.SetWord(kVolume + 100 + 35 * 6 + 4, 200);
  const CheckReport report = Check(disk);
  EXPECT_TRUE(report.Has(FindingKind::DuplicateName)) << Texts(report);
  EXPECT_NE(Texts(report).find("REPORT.FNT has 2 entries (LBN 13 slot 0, LBN 13 slot 5)"),
            std::string::npos);
  EXPECT_TRUE(report.Has(FindingKind::DuplicateType));
}

TEST(ConsistencyCheck, FindsRecordFilesWithABadLastBlockCount) {
  ImageBuilder disk;
  const std::uint16_t cmd = ImageBuilder::DirectoryLbn("CMD");
  // w2..w10: record size 80, 1 block, last-block bytes as given, start.
  disk.PutEntry(cmd, 0, "GOOD", {0, 80, 0, 1, 0, 1, 480, 0, 80});
  disk.PutEntry(cmd, 1, "ODD", {0, 80, 0, 1, 0, 1, 100, 0, 81});
  disk.PutEntry(cmd, 2, "LONG", {0, 80, 0, 1, 0, 1, 560, 0, 82});
  disk.PutEntry(cmd, 3, "BIN", {0, 512, 0, 1, 0, 1, 100, 0, 83});  // binary: w8 not checked
  disk.bytes().resize(84 * 512);
  for (std::uint32_t b = 80; b < 84; ++b) SetFree(disk, b, false);
  const CheckReport report = Check(disk);
  EXPECT_EQ(report.DamageCount(), 2u) << Texts(report);
  EXPECT_NE(Texts(report).find("ODD.CMD is a record file whose last block is said to hold 100 bytes"),
            std::string::npos);
  EXPECT_NE(Texts(report).find("LONG.CMD"), std::string::npos);
}

TEST(ConsistencyCheck, FindsAMisplacedBitmapAndDifferingSizeWords) {
  ImageBuilder disk = TwoFiles();
  disk.SetWord(kVolume + 12, 13);  // the bitmap on the FNT directory
  disk.SetWord(13 * 512 + 4 + 14, 7);  // REPORT's w7
  const CheckReport report = Check(disk);
  EXPECT_TRUE(report.Has(FindingKind::BitmapMisplaced)) << Texts(report);
  EXPECT_TRUE(report.Has(FindingKind::SizeWordsDiffer));
  EXPECT_FALSE(report.Has(FindingKind::BlocksMarkedFree));  // no bitmap to compare
}

TEST(ConsistencyCheck, LostBlocksAreNotedButAreNoDamage) {
  ImageBuilder disk = TwoFiles();
  SetFree(disk, 90, false);
  SetFree(disk, 91, false);
  SetFree(disk, 7, true);  // a CMD directory sector marked free is damage
  const CheckReport report = Check(disk);
  ASSERT_EQ(report.findings.size(), 2u) << Texts(report);
  EXPECT_TRUE(report.Has(FindingKind::SystemBlockFree));
  EXPECT_TRUE(report.Has(FindingKind::LostBlocks));
  EXPECT_EQ(report.DamageCount(), 1u);
  EXPECT_NE(Texts(report).find("2 block(s) are marked used but belong to no file"), std::string::npos);
}

TEST(ConsistencyCheck, NeverWritesAndRefusesOtherDisks) {
  ImageBuilder disk = TwoFiles();
  Link(disk, 17, 14);
  disk.AddBinaryFile("IMG", 0, "LOGO", 82, 4, 0x33);
  FakeDrive drive(disk.bytes());
  CheckReport report;
  EXPECT_EQ(CheckDiskConsistency(drive, report), 0u);
  EXPECT_FALSE(report.Clean());
  EXPECT_EQ(drive.writes, 0);
  EXPECT_EQ(drive.locks, 0);
  EXPECT_EQ(drive.bytes, disk.bytes());

  disk.SetWord(kVolume + 100, 0);
  FakeDrive other(disk.bytes());
  EXPECT_EQ(CheckDiskConsistency(other, report), ERR_NOT_KELVO_FORMAT);

  FakeDrive truncated(std::vector<std::uint8_t>(512));  // the volume block cannot be read
  EXPECT_EQ(CheckDiskConsistency(truncated, report), ERR_SECTOR_NOT_FOUND);
}

}  // namespace
}  // namespace kelvo::test
