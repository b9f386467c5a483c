#include <gtest/gtest.h>

#include <memory>

#include "diskfs/floppy_listing.h"
#include "media/emulated_floppy.h"
#include "support/diskfs_image_builder.h"
#include "support/floppy_media.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

struct Listed {
  TempDir dir;
  std::shared_ptr<CEmulatedFloppy> emu;
  std::unique_ptr<CFloppyDrive> drive;

  Listed(ImageBuilder& disk, int spt) {
    WriteDiskOnMedium(dir / "m.img", spt, disk.bytes());
    emu = MakeEmulatedFloppy(dir / "m.img");
    drive = std::make_unique<CFloppyDrive>("A:", emu);
  }
};

// The last FNT directory sector (17) links on to LBN 100, past the system
// area read at once, which holds a second file: read block by block.
TEST(FloppyListing, ListsTheDiskAndReleasesTheDrive) {
  ImageBuilder disk(/*high_density=*/true, 120);
  disk.AddBinaryFile("FNT", 0, "REPORT", 80, 3, 0x11);
  disk.SetWord(17 * 512 + 2, 100);
  disk.PutEntry(100, 0, "FAR", {0, 512, 0, 1, 0, 1, 0, 0, 110});
  Listed rig(disk, 15);
  DiskListing listing;
  ASSERT_EQ(ListFloppy(*rig.drive, listing), 0u);
  ASSERT_EQ(listing.files.size(), 2u);
  EXPECT_EQ(listing.files[0].name, "REPORT.FNT");
  EXPECT_EQ(listing.files[1].name, "FAR.FNT");
  EXPECT_EQ(listing.highest_lbn, 2339u);
  EXPECT_EQ(rig.emu->CurrentMediaType(), MediaKind::F3_1Pt2_512);
  EXPECT_FALSE(rig.drive->IsOpen());
  EXPECT_FALSE(rig.emu->Locked());
}

TEST(FloppyListing, DeviceErrorOnTheFirstReadListsNothing) {
  ImageBuilder disk;
  disk.AddBinaryFile("FNT", 0, "LOST", 80, 1, 0);
  Listed rig(disk, 9);
  rig.emu->InjectFault(2, ERR_CRC);
  DiskListing listing;
  EXPECT_EQ(ListFloppy(*rig.drive, listing), ERR_CRC);
  EXPECT_TRUE(listing.files.empty());
  EXPECT_FALSE(rig.drive->IsOpen());

  // A disk in the 18-sector format keeps the drive's type unset, and its
  // system area beyond the first track cannot be read.
  ImageBuilder odd;
  odd.SetWord(512 + 6, 18);
  Listed other(odd, 18);
  EXPECT_EQ(ListFloppy(*other.drive, listing), ERR_SECTOR_NOT_FOUND);
}

}  // namespace
}  // namespace kelvo::test
