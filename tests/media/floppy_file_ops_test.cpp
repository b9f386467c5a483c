#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "diskfs/floppy_volume_session.h"
#include "diskfs/listing.h"
#include "diskfs/on_disk.h"
#include "diskfs/disk_image_doc.h"
#include "media/emulated_floppy.h"
#include "support/diskfs_image_builder.h"
#include "support/floppy_media.h"
#include "support/floppy_progress.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

// A 720 KB printer disk on an emulated drive, with two files.
struct Disk {
  TempDir dir;
  std::filesystem::path medium = dir / "m.img";
  std::shared_ptr<CEmulatedFloppy> emu;
  std::unique_ptr<CFloppyDrive> drive;
  HookedInteraction ui;

  Disk() {
    ImageBuilder disk;
    disk.AddBinaryFile("FNT", 0, "REPORT", 80, 3, 0x11);
    disk.AddBinaryFile("TSK", 0, "JOB", 83, 2, 0x22);
    WriteDiskOnMedium(medium, 9, disk.bytes());
    emu = MakeEmulatedFloppy(medium);
    drive = std::make_unique<CFloppyDrive>("A:", emu);
  }
};

// Every listed file's blocks are marked used, and no two files share one.
::testing::AssertionResult Consistent(const std::filesystem::path& medium, DiskListing& listing) {
  CDiskImageDoc doc;
  if (doc.LoadImage(ReadBytes(medium)) != ERR_OK) return ::testing::AssertionFailure() << "not a disk";
  if (ListFiles(doc, listing) != ERR_OK) return ::testing::AssertionFailure() << "unlistable";
  Block bitmap{};
  doc.ReadSectors(4, 1, bitmap.data());
  CAllocationBitmap bits(bitmap);
  std::set<std::uint32_t> owned;
  for (const ListedFile& f : listing.files) {
    for (std::uint32_t b = f.entry.start_lbn; b < std::uint32_t{f.entry.start_lbn} + f.entry.blocks; ++b) {
      if (bits.IsFree(b)) return ::testing::AssertionFailure() << f.name << " block " << b << " is free";
      if (!owned.insert(b).second) return ::testing::AssertionFailure() << "block " << b << " shared";
    }
  }
  return ::testing::AssertionSuccess();
}

bool Lists(const DiskListing& listing, const std::string& name) {
  for (const ListedFile& f : listing.files) {
    if (f.name == name) return true;
  }
  return false;
}

std::vector<std::uint8_t> Data(std::size_t blocks) { return std::vector<std::uint8_t>(blocks * 512, 0x5C); }

ErrorCode Store(Disk& d) {
  CFloppyVolumeSession session(*d.drive);
  if (ErrorCode rc = session.Open(d.ui)) return rc;
  auto data = Data(4);
  NewFile file{"NEW", "ONE", "FNT", 512, 4, 0, data};
  return session.Volume().StoreNewFile(file);
}

ErrorCode Delete(Disk& d) {
  CFloppyVolumeSession session(*d.drive);
  if (ErrorCode rc = session.Open(d.ui)) return rc;
  FileLocator file;
  if (ErrorCode rc = session.Volume().FindFile("REPORT.FNT", file)) return rc;
  return session.Volume().DeleteFile(file);
}

ErrorCode Rename(Disk& d) { return RenameFloppyFile(*d.drive, "REPORT.FNT", "AB.PCH", d.ui); }

// Runs `op` cleanly to count its requests, then once per request with a
// fault there (once, and from there on), checking the disk each time.
template <typename Op>
void FaultAtEveryRequest(Op op, const std::string& name_after, bool name_after_on_success) {
  std::uint64_t requests = 0;
  {
    Disk clean;
    ASSERT_EQ(op(clean), 0u);
    requests = clean.emu->Requests();
    DiskListing listing;
    ASSERT_TRUE(Consistent(clean.medium, listing));
    ASSERT_EQ(Lists(listing, name_after), name_after_on_success);
  }
  ASSERT_GT(requests, 4u);
  for (bool persistent : {false, true}) {
    for (std::uint64_t n = 1; n <= requests; ++n) {
      Disk d;
      d.emu->InjectFault(n, ERR_NOT_READY, persistent);
      ErrorCode rc = op(d);
      d.drive->CloseDevice();
      EXPECT_FALSE(d.drive->IsOpen());
      DiskListing listing;
      EXPECT_TRUE(Consistent(d.medium, listing)) << "fault at " << n << (persistent ? "+" : "");
      if (rc == ERR_OK) {
        EXPECT_EQ(Lists(listing, name_after), name_after_on_success) << n;
      } else if (name_after_on_success) {
        // A failed store leaves no entry (at worst its blocks stay marked used).
        EXPECT_FALSE(Lists(listing, name_after)) << n;
      }
    }
  }
}

TEST(FloppyFileOperations, StoreWithAFaultAtEveryRequest) {
  FaultAtEveryRequest(Store, "NEWONE.FNT", true);
}

TEST(FloppyFileOperations, DeleteWithAFaultAtEveryRequest) {
  FaultAtEveryRequest(Delete, "REPORT.FNT", false);
}

TEST(FloppyFileOperations, RenameWithAFaultAtEveryRequest) {
  FaultAtEveryRequest(Rename, "AB.PCH", true);
}

TEST(FloppyFileOperations, StoreAndDeleteUpdateTheSystemAreaCopy) {
  Disk d;
  CFloppyVolumeSession session(*d.drive);
  ASSERT_EQ(session.Open(d.ui), 0u);
  EXPECT_EQ(d.emu->CurrentMediaType(), MediaKind::F3_720_512);
  auto data = Data(2);
  ASSERT_EQ(session.Volume().StoreNewFile({"AAA", "", "CMD", 512, 2, 0, data}), 0u);
  ASSERT_EQ(session.Volume().StoreNewFile({"BBB", "", "CMD", 512, 2, 0, data}), 0u);
  CAllocationBitmap copy(std::span<std::uint8_t, kBlockSize>(session.SystemArea().data() + 4 * 512, kBlockSize));
  EXPECT_FALSE(copy.IsFree(85));
  EXPECT_FALSE(copy.IsFree(88));
  EXPECT_TRUE(copy.IsFree(89));
  FileLocator job;
  ASSERT_EQ(session.Volume().FindFile("job.tsk", job), 0u);
  EXPECT_TRUE(session.Volume().FitsAfterDelete(job, job.blocks));
  ASSERT_EQ(session.Volume().DeleteFile(job), 0u);
  EXPECT_TRUE(copy.IsFree(83));
}

TEST(FloppyFileOperations, OpeningRetriesAndGivesUp) {
  Disk d;
  d.emu->InjectFault(1, ERR_NOT_READY);
  d.ui.answers = {Button::Retry};
  CFloppyVolumeSession session(*d.drive);
  EXPECT_EQ(session.Open(d.ui), 0u);
  EXPECT_EQ(d.ui.Texts(), (std::vector<std::string>{"The selected drive is not ready."}));

  Disk blank;
  WritePatternMedium(blank.medium, 9);
  blank.ui.answers = {Button::No};
  CFloppyVolumeSession none(*blank.drive);
  EXPECT_EQ(none.Open(blank.ui), ERR_NOT_KELVO_FORMAT);
  EXPECT_FALSE(blank.drive->IsOpen());
}

}  // namespace
}  // namespace kelvo::test
