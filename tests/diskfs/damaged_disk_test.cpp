// Operations on disks whose system area is random: they must end, stay in
// bounds, and never change the disk when they fail.
#include <gtest/gtest.h>

#include <random>

#include "diskfs/kelvo_volume.h"
#include "diskfs/listing.h"
#include "core/radix50.h"
#include "diskfs/disk_image_doc.h"

namespace kelvo {
namespace {

const char* const kTypes[3] = {"FNT", "JSL", "$Y$"};

std::vector<std::uint8_t> RandomDisk(std::mt19937& rng) {
  std::vector<std::uint8_t> bytes((70 + rng() % 60) * kBlockSize);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
  // Directory links and type index entries mostly point into the image, so
  // the walks meet chains, loops and stray links rather than only the end.
  for (std::size_t lbn = 0; lbn < bytes.size() / kBlockSize; ++lbn) {
    std::uint8_t* block = bytes.data() + lbn * kBlockSize;
    if (rng() % 2) PutWord(block + 2, static_cast<std::uint16_t>(rng() % 140));
    for (std::size_t slot = 0; slot < kSlotsPerSector; ++slot)
      if (rng() % 4 == 0) PutWord(block + kFirstSlotOffset + slot * kFileEntrySize, 0);
  }
  for (std::size_t i = 1; i < kTypeIndexCapacity; ++i) {
    PutWord(bytes.data() + 512 + 100 + 6 * i + 4, static_cast<std::uint16_t>(rng() % 140));
    if (rng() % 3 == 0) PutWord(bytes.data() + 512 + 100 + 6 * i, RadixEncode(kTypes[rng() % 3]));
  }
  PutWord(bytes.data() + 512 + 100, kSystemTypeWord);
  PutWord(bytes.data() + 512 + 2, static_cast<std::uint16_t>(rng() % 3000));
  PutWord(bytes.data() + 512 + 12, static_cast<std::uint16_t>(rng() % 8));
  return bytes;
}

std::vector<std::uint8_t> BitsAboveHighest(const CDiskImageDoc& doc) {
  const std::uint8_t* v = doc.Bytes().data() + 512;
  const std::uint32_t highest = GetWord(v + 2);
  const std::size_t bitmap = std::size_t{GetWord(v + 12)} * kBlockSize;
  std::vector<std::uint8_t> bits;
  for (std::uint32_t n = highest + 1; n < 4096; ++n) {
    if (bitmap + n / 8 >= doc.Bytes().size()) break;
    bits.push_back((doc.Bytes()[bitmap + n / 8] >> (n % 8)) & 1);
  }
  return bits;
}

TEST(DamagedDisk, RandomSystemAreasAreHandled) {
  std::mt19937 rng(20261206);
  int stored = 0;
  int listed = 0;
  for (int round = 0; round < 150; ++round) {
    CDiskImageDoc doc;
    ASSERT_EQ(doc.LoadImage(RandomDisk(rng)), ERR_OK);
    const std::vector<std::uint8_t> outside = BitsAboveHighest(doc);
    DiskListing listing;
    ASSERT_EQ(ListFiles(doc, listing, doc.BlockCount()), ERR_OK);
    listed += static_cast<int>(listing.files.size());
    EXPECT_LE(listing.files.size(), kTypeIndexCapacity * 200 * kSlotsPerSector);

    CKelvoVolume volume(doc);
    const std::vector<std::uint8_t> before = doc.Bytes();
    ErrorCode err = volume.StoreFile("probe.fnt", std::vector<std::uint8_t>(1500, 0x42));
    if (err) {
      EXPECT_EQ(doc.Bytes(), before) << "round " << round << " error " << err;
    } else {
      ++stored;
      FileLocator loc;
      ASSERT_EQ(volume.FindFile("PROBE.FNT", loc), ERR_OK) << round;
      EXPECT_EQ(loc.blocks, 3);
      EXPECT_LE(loc.start_lbn + 2u, GetWord(doc.Bytes().data() + 512 + 2));
    }
    for (std::size_t i = 0; i < listing.files.size() && i < 5; ++i) {
      FileLocator loc;
      if (volume.FindFile(listing.files[i].name, loc) == ERR_OK) volume.DeleteFile(loc);
      volume.RenameFile(listing.files[i].name, "RENAME.FNT");
    }
    EXPECT_EQ(BitsAboveHighest(doc), outside) << "round " << round;
  }
  // The generator gives both outcomes, so both branches above were checked.
  EXPECT_GT(stored, 0);
  EXPECT_GT(listed, 0);
}

}  // namespace
}  // namespace kelvo
