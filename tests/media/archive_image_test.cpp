#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "diskfs/disk_image_doc.h"
#include "diskfs/kelvo_volume.h"
#include "diskfs/listing.h"
#include "media/imd_image.h"
#include "media/raw_image.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

// A printer disk image of exactly `size` bytes: an empty file system with
// every block past it filled with a pattern that differs per block (and a few
// uniform blocks, which an archive writes compressed).
std::vector<std::uint8_t> PatternedImage(std::size_t size) {
  CDiskImageDoc doc;
  EXPECT_EQ(doc.OnNewDocument(), ERR_OK);
  std::vector<std::uint8_t> bytes = doc.Bytes();
  const std::size_t fs_size = bytes.size();
  bytes.resize(size);
  for (std::size_t i = fs_size; i < size; ++i) {
    const std::size_t lbn = i / kBlockSize;
    bytes[i] = lbn % 7 == 0 ? std::uint8_t(lbn) : std::uint8_t(i * 31 + lbn);
  }
  return bytes;
}

std::string AsString(const std::vector<std::uint8_t>& v) { return {v.begin(), v.end()}; }

class Geometry : public ::testing::TestWithParam<std::size_t> {};

TEST_P(Geometry, RecognisedAndRoundTripsThroughRawAndImd) {
  const std::size_t size = GetParam();
  FloppyGeometry g = RawImageGeometry(size);
  ASSERT_NE(g.cylinders, 0);
  EXPECT_EQ(std::size_t(g.cylinders) * 2 * g.sectors_per_track * 512, size);

  TempDir dir;
  const std::vector<std::uint8_t> image = PatternedImage(size);
  WriteFileBytes(dir.path() / "in.img", AsString(image));

  CDiskImageDoc doc;
  ASSERT_EQ(doc.OnOpenDocument(dir.path() / "in.img"), ERR_OK);
  ASSERT_EQ(doc.OnSaveDocument(dir.path() / "mid.imd"), ERR_OK);

  // The archive states its layout: mode, cylinders, sector size code 2, map 1..n.
  const std::string imd = ReadFileText(dir.path() / "mid.imd");
  ASSERT_EQ(imd.compare(0, 4, "IMD "), 0);
  std::size_t pos = imd.find('\x1A') + 1;
  EXPECT_EQ(std::uint8_t(imd[pos]), g.sectors_per_track == 9 ? 5 : 3);
  EXPECT_EQ(imd[pos + 1], 0);
  EXPECT_EQ(imd[pos + 3], char(g.sectors_per_track));
  EXPECT_EQ(imd[pos + 4], 2);
  for (int s = 0; s < g.sectors_per_track; ++s) EXPECT_EQ(imd[pos + 5 + s], char(s + 1));

  CDiskImageDoc back;
  ASSERT_EQ(back.OnOpenDocument(dir.path() / "mid.imd"), ERR_OK);
  EXPECT_EQ(back.Bytes(), image);
}

INSTANTIATE_TEST_SUITE_P(ArchiveImage, Geometry,
                         ::testing::Values(737280, 1228800, 1474560, 718848, 1198080,
                                           1437696));

TEST(ArchiveImage, OtherSizesAreNoRawGeometry) {
  EXPECT_EQ(RawImageGeometry(40960).cylinders, 0);
  EXPECT_EQ(RawImageGeometry(737280 + 512).cylinders, 0);
  EXPECT_EQ(GeometryForBlocks(80).sectors_per_track, 9);
  EXPECT_EQ(GeometryForBlocks(80).cylinders, 5);
  EXPECT_EQ(GeometryForBlocks(2400).sectors_per_track, 15);
}

TEST(ArchiveImage, RawSaveKeepsTheFullSizeAndTheBlocksBeyondTheFileSystem) {
  TempDir dir;
  const std::vector<std::uint8_t> image = PatternedImage(737280);
  WriteFileBytes(dir.path() / "d.img", AsString(image));
  CDiskImageDoc doc;
  ASSERT_EQ(doc.OnOpenDocument(dir.path() / "d.img"), ERR_OK);
  std::vector<std::uint8_t> block(512, 0x5A);
  ASSERT_EQ(doc.WriteSectors(100, 1, block.data()), ERR_OK);
  ASSERT_EQ(doc.OnSaveDocument(dir.path() / "d.img"), ERR_OK);
  std::string expect = AsString(image);
  expect.replace(100 * 512, 512, std::string(512, '\x5A'));
  EXPECT_EQ(ReadFileText(dir.path() / "d.img"), expect);

  // A failed operation may put back a shorter snapshot; the save still
  // writes the size the file had.
  std::vector<std::uint8_t> shorter(doc.Bytes().begin(), doc.Bytes().begin() + 1404 * 512);
  doc.Restore(shorter, true);
  ASSERT_EQ(doc.OnSaveDocument(dir.path() / "d.img"), ERR_OK);
  const std::string saved = ReadFileText(dir.path() / "d.img");
  ASSERT_EQ(saved.size(), 737280u);
  EXPECT_EQ(saved.substr(0, 1404 * 512), expect.substr(0, 1404 * 512));
}

// An archive by hand: track 0 side 0 of 9 sectors with block 1 from a real
// file system, a compressed sector, an unavailable one and a data-error one.
TEST(ArchiveImage, CompressedAndUnreadableSectors) {
  CDiskImageDoc fresh;
  ASSERT_EQ(fresh.OnNewDocument(), ERR_OK);
  const std::vector<std::uint8_t>& fsb = fresh.Bytes();
  std::string imd = "IMD 1.18: 01/01/2000 00:00:00\r\nnote\x1A";
  for (int cyl = 0; cyl < 40; ++cyl) {
    for (int head = 0; head < 2; ++head) {
      imd += std::string{char(5), char(cyl), char(head), char(9), char(2)};
      for (int s = 9; s >= 1; --s) imd += char(s);  // out of order on purpose
      for (int s = 9; s >= 1; --s) {
        const std::size_t lbn = std::size_t(cyl * 2 + head) * 9 + s - 1;
        if (cyl == 0 && head == 1 && s == 2) {
          imd += char(0);  // unavailable
        } else if (cyl == 0 && head == 1 && s == 3) {
          imd += char(5) + std::string(512, 'E');  // read with a data error
        } else if (lbn < fsb.size() / 512) {
          imd += char(1) + std::string(fsb.begin() + lbn * 512, fsb.begin() + lbn * 512 + 512);
        } else {
          imd += char(2);
          imd += char(0xC3);
        }
      }
    }
  }
  TempDir dir;
  WriteFileBytes(dir.path() / "h.imd", imd);
  CDiskImageDoc doc;
  ASSERT_EQ(doc.OnOpenDocument(dir.path() / "h.imd"), ERR_OK);
  EXPECT_EQ(doc.BlockCount(), 720u);
  std::vector<std::uint8_t> buf(512 * 3, 0xFF);
  ASSERT_EQ(doc.ReadSectors(0, 3, buf.data()), ERR_OK);
  EXPECT_TRUE(std::equal(buf.begin(), buf.end(), fsb.begin()));
  ASSERT_EQ(doc.ReadSectors(700, 1, buf.data()), ERR_OK);
  EXPECT_EQ(buf[0], 0xC3);
  EXPECT_EQ(buf[511], 0xC3);
  EXPECT_EQ(doc.ReadSectors(10, 1, buf.data()), ERR_CRC);
  EXPECT_EQ(doc.ReadSectors(11, 1, buf.data()), ERR_CRC);
  EXPECT_EQ(doc.ReadSectors(9, 3, buf.data()), ERR_CRC);
  ASSERT_EQ(doc.ReadSectors(12, 1, buf.data()), ERR_OK);
  // Writing a bad block repairs it; the marks survive a save as .imd.
  std::vector<std::uint8_t> w(512, 0x11);
  ASSERT_EQ(doc.WriteSectors(10, 1, w.data()), ERR_OK);
  EXPECT_EQ(doc.ReadSectors(10, 1, buf.data()), ERR_OK);
  ASSERT_EQ(doc.OnSaveDocument(dir.path() / "again.imd"), ERR_OK);
  CDiskImageDoc again;
  // Mostly uniform sectors: the archive is smaller than the raw minimum.
  EXPECT_LT(fs::file_size(dir.path() / "again.imd"), kMinImageBytes);
  ASSERT_EQ(again.OnOpenDocument(dir.path() / "again.imd"), ERR_OK);
  EXPECT_EQ(again.ReadSectors(10, 1, buf.data()), ERR_OK);
  EXPECT_EQ(buf[0], 0x11);
  EXPECT_EQ(again.ReadSectors(11, 1, buf.data()), ERR_CRC);
}

TEST(ArchiveImage, DamagedArchivesAreRefused) {
  CDiskImageDoc fresh;
  ASSERT_EQ(fresh.OnNewDocument(), ERR_OK);
  std::vector<std::uint8_t> good =
      BuildImd(fresh.Bytes(), {}, 3, 9, "c");
  ImdDisk disk;
  ASSERT_EQ(ParseImd(good, disk), ERR_OK);
  EXPECT_EQ(disk.comment, "c");
  for (std::size_t cut : {good.size() - 1, good.size() - 300, std::size_t(40)}) {
    std::vector<std::uint8_t> t(good.begin(), good.begin() + cut);
    EXPECT_EQ(ParseImd(t, disk), ERR_BAD_IMAGE) << cut;
  }
  std::vector<std::uint8_t> no_end(good.begin(), good.begin() + 20);
  no_end.erase(std::remove(no_end.begin(), no_end.end(), 0x1A), no_end.end());
  EXPECT_EQ(ParseImd(no_end, disk), ERR_BAD_IMAGE);
  std::vector<std::uint8_t> bad_type = good;
  const std::size_t first = std::size_t(std::find(good.begin(), good.end(), 0x1A) - good.begin()) + 1;
  bad_type[first + 5 + 9] = 9;  // sector record type beyond 8
  EXPECT_EQ(ParseImd(bad_type, disk), ERR_BAD_IMAGE);
  std::vector<std::uint8_t> big_sector = good;
  big_sector[first + 4] = 3;  // 1024-byte sectors
  EXPECT_EQ(ParseImd(big_sector, disk), ERR_BAD_IMAGE);
}

// Two files stored, the second one's data then read with a CRC error from
// an archive: the listing opens, the sound file exports whole, the damaged
// one fails and leaves no file.
TEST(ArchiveImage, ExportOverAnUnreadableSectorIsReported) {
  CDiskImageDoc made;
  ASSERT_EQ(made.OnNewDocument(), ERR_OK);
  CKelvoVolume volume(made);
  const std::string a = std::string(700, 'a') + "\n", b = std::string(700, 'Q') + "\n";
  ASSERT_EQ(volume.StoreFile("a.jsl", std::vector<std::uint8_t>(a.begin(), a.end())), ERR_OK);
  ASSERT_EQ(volume.StoreFile("b.jsl", std::vector<std::uint8_t>(b.begin(), b.end())), ERR_OK);
  const std::vector<std::uint8_t>& blocks = made.Bytes();
  const auto at = std::search(blocks.begin(), blocks.end(), b.begin(), b.begin() + 64) - blocks.begin();
  std::vector<bool> bad(blocks.size() / 512, false);
  bad.at(std::size_t(at) / 512) = true;
  const FloppyGeometry g = GeometryForBlocks(std::uint32_t(bad.size()));
  TempDir dir;
  WriteFileBytes(dir / "d.imd", AsString(BuildImd(blocks, bad, g.cylinders, g.sectors_per_track, "")));

  CDiskImageDoc doc;
  ASSERT_EQ(doc.OnOpenDocument(dir / "d.imd"), ERR_OK);
  DiskListing listing;
  ASSERT_EQ(ListFiles(doc, listing, doc.BlockCount()), ERR_OK);
  ASSERT_EQ(listing.files.size(), 2u);
  CKelvoVolume damaged(doc);
  ASSERT_EQ(damaged.ExportFile("A.JSL", dir / "a.txt", ExportOptions{false, true}), ERR_OK);
  EXPECT_NE(ReadFileText(dir / "a.txt").find(std::string(700, 'a')), std::string::npos);
  EXPECT_EQ(damaged.ExportFile("B.JSL", dir / "b.txt", ExportOptions{false, true}), ERR_CRC);
  EXPECT_FALSE(fs::exists(dir / "b.txt"));
}

}  // namespace
}  // namespace kelvo::test
