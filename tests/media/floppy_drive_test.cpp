#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "diskfs/floppy_volume_session.h"
#include "diskfs/mount.h"
#include "diskfs/on_disk.h"
#include "media/floppy_drive.h"
#include "media/emulated_floppy.h"
#include "support/diskfs_image_builder.h"
#include "support/floppy_media.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

TEST(FloppyDrive, DescribesEmulatedDrives) {
  TempDir dir;
  CFloppyDrive a("a:", MakeEmulatedFloppy(dir / "a.img"));
  EXPECT_EQ(a.DescribeDrive().name, "3\u00BD Floppy (A:)");
  EXPECT_EQ(a.DescribeDrive().form, kDriveForm35);
  CFloppyDrive b("b", MakeEmulatedFloppy(dir / "b.img", true));
  EXPECT_EQ(b.DescribeDrive().name, "5\u00BC Floppy (B:)");
  EXPECT_EQ(b.DescribeDrive().form, kDriveForm525);
  // Only A and B are floppy drives.
  CFloppyDrive c("C:", MakeEmulatedFloppy(dir / "c.img"));
  EXPECT_EQ(c.CheckDrive(), ERR_INVALID_DRIVE);
  EXPECT_EQ(c.DescribeDrive().name, "C:");
}

TEST(FloppyDrive, CheckDriveRecognisesKelvoDisks) {
  TempDir dir;
  WritePatternMedium(dir / "m.img", 9);
  auto emu = MakeEmulatedFloppy(dir / "m.img");
  CFloppyDrive drive("A:", emu);
  EXPECT_EQ(drive.CheckDrive(), 0u);
  EXPECT_EQ(CheckKelvoDrive(drive), ERR_NOT_KELVO_FORMAT);
  WriteVolumeWords(dir / "m.img", 1403, 9);
  EXPECT_EQ(CheckKelvoDrive(drive), 0u);
  EXPECT_FALSE(drive.IsOpen());  // CheckDrive always closes
  EXPECT_FALSE(emu->Locked());

  CFloppyDrive blank("A:", MakeEmulatedFloppy(dir / "blank.img"));
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
    WriteVolumeWords(path, static_cast<std::uint16_t>(156 * c.spt - 1), static_cast<std::uint16_t>(c.spt));
    auto emu = MakeEmulatedFloppy(path, c.five_inch);
    CFloppyDrive drive("a:", emu);
    ASSERT_EQ(drive.OpenDevice(), 0u);
    EXPECT_EQ(SetMediaFromDisk(drive), 0u) << c.spt;
    EXPECT_EQ(emu->CurrentMediaType(), c.expected) << c.spt;
    drive.CloseDevice();
  }
}

// Giving up is tried at every request by the fault runs.
TEST(FloppyVolumeSession, OpeningRetries) {
  TempDir dir;
  WriteDiskOnMedium(dir / "m.img", 9, ImageBuilder().bytes());
  auto emu = MakeEmulatedFloppy(dir / "m.img");
  CFloppyDrive drive("A:", emu);
  emu->InjectFault(1, ERR_NOT_READY);
  ScriptedInteraction ui;
  ui.answers = {Button::Retry};
  CFloppyVolumeSession session(drive);
  EXPECT_EQ(session.Open(ui), 0u);
  EXPECT_EQ(ui.asks.size(), 1u);
}

}  // namespace
}  // namespace kelvo::test
