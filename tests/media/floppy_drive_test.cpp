#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "diskfs/mount.h"
#include "media/floppy_drive.h"
#include "media/emulated_floppy.h"
#include "support/floppy_media.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

std::shared_ptr<CEmulatedFloppy> Emu(const std::filesystem::path& path, bool five_inch = false) {
  return MakeEmulatedFloppy(path, five_inch);
}

TEST(FloppyDrive, DescribesEmulatedDrives) {
  TempDir dir;
  CFloppyDrive a("a:", Emu(dir / "a.img"));
  DriveDescription da = a.DescribeDrive();
  EXPECT_EQ(da.name, "3\u00BD Floppy (A:)");
  EXPECT_EQ(da.form, kDriveForm35);
  CFloppyDrive b("b", Emu(dir / "b.img", true));
  DriveDescription db = b.DescribeDrive();
  EXPECT_EQ(db.name, "5\u00BC Floppy (B:)");
  EXPECT_EQ(db.form, kDriveForm525);
  // Only A and B are floppy drives.
  CFloppyDrive c("C:", Emu(dir / "c.img"));
  EXPECT_EQ(c.CheckDrive(), ERR_INVALID_DRIVE);
  EXPECT_EQ(c.DescribeDrive().name, "C:");
}

TEST(FloppyDrive, CheckDriveRecognisesKelvoDisks) {
  TempDir dir;
  WritePatternMedium(dir / "m.img", 9);
  auto emu = Emu(dir / "m.img");
  CFloppyDrive drive("A:", emu);
  EXPECT_EQ(drive.CheckDrive(), 0u);
  EXPECT_EQ(CheckKelvoDrive(drive), ERR_NOT_KELVO_FORMAT);
  WriteVolumeWords(dir / "m.img", 1403, 9);
  EXPECT_EQ(CheckKelvoDrive(drive), 0u);
  EXPECT_FALSE(drive.IsOpen());  // CheckDrive always closes
  EXPECT_FALSE(emu->Locked());

  CFloppyDrive blank("A:", Emu(dir / "blank.img"));
  EXPECT_EQ(CheckKelvoDrive(blank), ERR_UNRECOGNIZED_MEDIA);
  EXPECT_EQ(blank.CheckDrive(), 0u);
}

TEST(FloppyDrive, SetMediaFromDiskFollowsTheVolumeBlockAndTheDriveForm) {
  TempDir dir;
  struct Case {
    int spt;
    bool five_inch;
    MediaKind expected;
  } cases[] = {
      {15, false, MediaKind::F3_1Pt2_512}, {9, false, MediaKind::F3_720_512},
      {15, true, MediaKind::F5_1Pt2_512},  {9, true, MediaKind::F5_720_512},
      {18, false, MediaKind::Unknown},
  };
  for (const Case& c : cases) {
    auto path = dir / ("m" + std::to_string(c.spt) + (c.five_inch ? "f" : "t") + ".img");
    WritePatternMedium(path, c.spt);
    WriteVolumeWords(path, static_cast<std::uint16_t>(156 * c.spt - 1),
                     static_cast<std::uint16_t>(c.spt));
    auto emu = Emu(path, c.five_inch);
    CFloppyDrive drive("a:", emu);
    ASSERT_EQ(drive.OpenDevice(), 0u);
    EXPECT_EQ(SetMediaFromDisk(drive), 0u) << c.spt;
    EXPECT_EQ(emu->CurrentMediaType(), c.expected) << c.spt;
    drive.CloseDevice();
  }
}

TEST(FloppyDrive, SessionUnlocksAndClosesOnEveryPath) {
  TempDir dir;
  WritePatternMedium(dir / "m.img", 9);
  auto emu = Emu(dir / "m.img");
  CFloppyDrive drive("A:", emu);
  {
    CFloppySession session(drive, true);
    ASSERT_EQ(session.Status(), 0u);
    EXPECT_TRUE(emu->Locked());
  }
  EXPECT_FALSE(emu->Locked());
  EXPECT_FALSE(drive.IsOpen());
  {
    CFloppySession first(drive);
    CFloppySession second(drive);  // the drive is in exclusive use
    EXPECT_EQ(second.Status(), ERR_DRIVE_LOCKED);
  }
  EXPECT_FALSE(drive.IsOpen());
}

}  // namespace
}  // namespace kelvo::test
