#include "diskfs/consistency_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "diskfs/disk_image_doc.h"
#include "support/diskfs_fake_drive.h"
#include "support/diskfs_image_builder.h"

namespace kelvo::test {
namespace {

constexpr std::size_t kVolume = 512;

void Link(ImageBuilder& disk, std::uint16_t from, std::uint16_t to) { disk.SetWord(std::size_t{from} * 512 + 2, to); }

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

// Each kind of damage made on the disk with two files, and what the check
// reports: the kinds it must and must not find, the damage count and the
// files it took (-1: not checked), and one sentence.
TEST(ConsistencyCheck, FindsEachKindOfDamage) {
  using K = FindingKind;
  struct Case {
    const char* what;
    std::function<void(ImageBuilder&)> damage;
    std::vector<K> found, not_found;
    int damage_count, files;
    const char* text;
  };
  const Case cases[] = {
      {"overlapping files, a file's block marked free",
       [](ImageBuilder& d) {  // shares 82 with REPORT and 83-84 with JOB
         d.AddBinaryFile("IMG", 0, "LOGO", 82, 4, 0x33);
         d.SetFree(85, 1, true);
       },
       {K::OverlappingFiles, K::BlocksMarkedFree}, {}, 3, -1,
       "LOGO.IMG and JOB.TSK share 2 block(s) from LBN 83"},
      {"chain looping back", [](ImageBuilder& d) { Link(d, 17, 14); }, {K::ChainCycle}, {}, -1, 2, ""},
      {"chain leaving the disk", [](ImageBuilder& d) { Link(d, 13, 5000); }, {K::ChainOutOfRange}, {}, -1, -1, ""},
      {"link below the highest LBN past the image reads as zeros", [](ImageBuilder& d) { Link(d, 13, 1000); }, {},
       {K::ChainOutOfRange}, -1, -1, ""},
      {"type whose chain starts at LBN 0",
       [](ImageBuilder& d) { d.SetWord(kVolume + 100 + 6 * 6 + 4, 0); },  // FNT, the 7th index entry
       {K::ChainOutOfRange}, {}, -1, 1, ""},
      {"entry whose name reads as empty",
       [](ImageBuilder& d) {
         d.AddBinaryFile("FNT", 1, "X", 90, 1, 0x77);
         d.SetWord(13 * 512 + 4 + 22, 29 * 1600);  // a first word that decodes to nothing
       },
       {K::EmptyName}, {}, 1, -1, "the entry at LBN 13 slot 1 has a name that reads as empty (listed as .fnt)"},
      {"directory sector in two chains", [](ImageBuilder& d) { Link(d, 17, 6); }, {K::SharedDirectory}, {}, -1, -1,
       ""},
      {"entries past the highest LBN and on the system area",
       [](ImageBuilder& d) {
         d.AddBinaryFile("IMG", 0, "HUGE", 1400, 10, 0x44);
         d.AddBinaryFile("IMG", 1, "SYS", 10, 2, 0x55);  // its bits clear directory blocks: still used
       },
       {K::EntryPastHighestLbn, K::FileOnSystemBlocks}, {K::SystemBlockFree}, -1, -1,
       "HUGE.IMG occupies LBN 1400 to 1409, past the highest LBN 1403"},
      {"duplicate names and types",
       [](ImageBuilder& d) {
         d.AddBinaryFile("FNT", 5, "REPORT", 90, 1, 0x66);
         d.SetWord(kVolume + 100 + 35 * 6, 0x27C4);  // a 36th index entry: FNT again
         d.SetWord(kVolume + 100 + 35 * 6 + 4, 200);
       },
       {K::DuplicateName, K::DuplicateType}, {}, -1, -1, "REPORT.FNT has 2 entries (LBN 13 slot 0, LBN 13 slot 5)"},
      {"record files with a bad last block count",
       [](ImageBuilder& d) {  // w2..w10: record size 80, 1 block, last-block bytes, start
         const std::uint16_t cmd = ImageBuilder::DirectoryLbn("CMD");
         d.PutEntry(cmd, 0, "GOOD", {0, 80, 0, 1, 0, 1, 480, 0, 90});
         d.PutEntry(cmd, 1, "ODD", {0, 80, 0, 1, 0, 1, 100, 0, 91});
         d.PutEntry(cmd, 2, "LONG", {0, 80, 0, 1, 0, 1, 560, 0, 92});
         d.PutEntry(cmd, 3, "BIN", {0, 512, 0, 1, 0, 1, 100, 0, 93});  // binary: w8 not checked
         d.SetFree(90, 4, false);
       },
       {K::BadLastBlockCount}, {}, 2, -1, "ODD.CMD is a record file whose last block is said to hold 100 bytes"},
      {"misplaced bitmap, differing size words",
       [](ImageBuilder& d) {
         d.SetWord(kVolume + 12, 13);         // the bitmap on the FNT directory
         d.SetWord(13 * 512 + 4 + 14, 7);     // REPORT's w7
       },
       {K::BitmapMisplaced, K::SizeWordsDiffer}, {K::BlocksMarkedFree}, -1, -1, ""},  // no bitmap to compare
      {"lost blocks are no damage, a free directory sector is",
       [](ImageBuilder& d) {
         d.SetFree(90, 2, false);
         d.SetFree(7, 1, true);
       },
       {K::SystemBlockFree, K::LostBlocks}, {}, 1, -1, "2 block(s) are marked used but belong to no file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ImageBuilder disk = TwoFiles();
    c.damage(disk);
    const CheckReport report = Check(disk);
    const std::string texts = Texts(report);
    for (K k : c.found) EXPECT_TRUE(report.Has(k)) << FindingKindName(k) << "\n" << texts;
    for (K k : c.not_found) EXPECT_FALSE(report.Has(k)) << FindingKindName(k) << "\n" << texts;
    if (c.damage_count >= 0) {
      EXPECT_EQ(report.DamageCount(), unsigned(c.damage_count)) << texts;
    }
    if (c.files >= 0) {
      EXPECT_EQ(report.files, unsigned(c.files));
    }
    EXPECT_NE(texts.find(c.text), std::string::npos) << texts;
  }
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
