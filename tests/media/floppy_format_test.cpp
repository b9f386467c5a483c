#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "diskfs/format.h"
#include "diskfs/label_disk.h"
#include "media/emulated_floppy.h"
#include "support/floppy_media.h"
#include "support/floppy_progress.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

struct Rig {
  TempDir dir;
  std::filesystem::path medium = dir / "medium.img";
  std::shared_ptr<CEmulatedFloppy> emu;
  std::unique_ptr<CFloppyDrive> drive;
  HookedInteraction ui;
  RecordingProgress progress;

  explicit Rig(bool five_inch = false) {
    emu = MakeEmulatedFloppy(medium, five_inch);
    drive = std::make_unique<CFloppyDrive>("A:", emu);
  }
  FormatResult Format(MediaKind media, bool quick, const std::string& id = "") {
    return FormatDisk(*drive, {media, quick, id}, ui, progress);
  }
};

std::string DiskId(const std::vector<std::uint8_t>& bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()) + 512 + 68);
}

TEST(FullFormat, BlankDiskGetsEveryCylinderAndAFileSystem) {
  Rig rig;
  FormatResult r = rig.Format(MediaKind::F3_1Pt2_512, false, "SHOP FLOOR");
  ASSERT_EQ(r.code, 0u);
  auto bytes = ReadBytes(rig.medium);
  ASSERT_EQ(bytes.size(), 1228800u);
  EXPECT_EQ(WordAt(bytes, 512 + 2), 2339);
  EXPECT_EQ(WordAt(bytes, 512 + 6), 15);
  EXPECT_EQ(DiskId(bytes), "SHOP FLOOR");
  EXPECT_EQ(bytes[80 * 512], 0xF6);        // formatted, not written
  EXPECT_EQ(bytes.back(), 0xF6);           // cylinder 79 too
  EXPECT_EQ(rig.progress.ranges.front(), std::make_pair(0, 79));
  EXPECT_EQ(rig.progress.statuses,
            (std::vector<std::string>{"Initializing...", "Formatting disk...",
                                      "Creating file system...", ""}));
  // 80 cylinders, then 0, 40 and 80 while the file system is written, then 0.
  ASSERT_EQ(rig.progress.positions.size(), 84u);
  EXPECT_EQ(rig.progress.positions[79], 80);
  EXPECT_EQ(rig.progress.positions.back(), 0);
  EXPECT_GE(rig.ui.pumps, 80);
  EXPECT_FALSE(rig.drive->IsOpen());
  ShowFormatOutcome(rig.ui, r);
  EXPECT_EQ(rig.ui.asks.back().text, "Drive formatted successfully");
  EXPECT_EQ(rig.ui.asks.back().icon, Icon::Information);
}

TEST(FullFormat, FiveInchDriveFormatsTheSevenHundredTwentyKilobyteLayout) {
  Rig rig(/*five_inch=*/true);
  WriteKelvoMedium(rig.medium, 1);  // a 1.2 MB disk is formatted over
  ASSERT_EQ(rig.Format(MediaKind::F5_720_512, false).code, 0u);
  auto bytes = ReadBytes(rig.medium);
  EXPECT_EQ(bytes.size(), 737280u);
  EXPECT_EQ(WordAt(bytes, 512 + 2), 1403);
  EXPECT_EQ(DiskId(bytes), "Kelvo Disk Utility");
}

TEST(FullFormat, CancelStopsBetweenCylinders) {
  Rig rig;
  rig.progress.stop_at = 10;
  FormatResult r = rig.Format(MediaKind::F3_720_512, false);
  EXPECT_EQ(r.code, ERR_FORMAT_CANCELLED);
  EXPECT_EQ(rig.emu->Requests(), 10u);
  EXPECT_FALSE(rig.drive->IsOpen());
  ShowFormatOutcome(rig.ui, r);
  EXPECT_EQ(rig.ui.asks.back().text, "Format cancelled at user request.");
}

TEST(Format, WriteProtectedRetryThenCancelNeverReportsSuccess) {
  for (bool quick : {false, true}) {
    Rig rig;
    WriteKelvoMedium(rig.medium, 5);
    auto before = ReadBytes(rig.medium);
    rig.emu->SetWriteProtected(true);
    rig.ui.answers = {Button::Retry, Button::Cancel};
    FormatResult r = rig.Format(MediaKind::F3_720_512, quick);
    EXPECT_EQ(r.code, ERR_WRITE_PROTECT);
    EXPECT_EQ(rig.ui.Texts(), (std::vector<std::string>{"The media is write protected.",
                                                        "The media is write protected."}));
    EXPECT_EQ(rig.ui.asks[0].buttons, Buttons::RetryCancel);
    EXPECT_EQ(ReadBytes(rig.medium), before);
    ShowFormatOutcome(rig.ui, r);
    EXPECT_EQ(rig.ui.asks.back().text, "Drive format unsuccessful");
  }
}

TEST(FullFormat, RetryAfterAFaultStartsAgainAtCylinderZero) {
  Rig rig;
  rig.emu->InjectFault(41, ERR_NOT_READY);  // cylinder 40
  rig.ui.answers = {Button::Retry};
  FormatResult r = rig.Format(MediaKind::F3_720_512, false);
  ASSERT_EQ(r.code, 0u);
  EXPECT_EQ(rig.ui.asks.size(), 1u);
  // 40 good cylinders, the fault, 80 cylinders, one file-system write.
  EXPECT_EQ(rig.emu->Requests(), 40u + 1 + 80 + 1);
  EXPECT_EQ(WordAt(ReadBytes(rig.medium), 512 + 100), 0xACC3);
}

TEST(FullFormat, FailedFileSystemWriteIsNotSuccess) {
  Rig rig;
  rig.emu->InjectFault(81, ERR_CRC);  // the write after the 80 cylinders
  FormatResult r = rig.Format(MediaKind::F3_720_512, false);
  EXPECT_EQ(r.code, ERR_CRC);
  EXPECT_EQ(rig.ui.asks.size(), 1u);
}

TEST(QuickFormat, FollowsTheDiskCapacityAndKeepsDataBlocks) {
  Rig rig;
  WriteKelvoMedium(rig.medium, 17, "OLD", 3);
  FormatResult r = rig.Format(MediaKind::F3_720_512, true, "NEW");
  ASSERT_EQ(r.code, 0u);
  EXPECT_EQ(r.media, MediaKind::F3_1Pt2_512);
  ASSERT_EQ(rig.progress.capacities, (std::vector<MediaKind>{MediaKind::F3_1Pt2_512}));
  EXPECT_EQ(rig.progress.ranges.front(), std::make_pair(0, 80));
  EXPECT_TRUE(rig.progress.Saw("Checking disk format..."));
  auto bytes = ReadBytes(rig.medium);
  EXPECT_EQ(WordAt(bytes, 512 + 2), 2339);
  EXPECT_EQ(DiskId(bytes), "NEW");
  EXPECT_EQ(bytes[80 * 512], PatternByte(80, 3));  // only the system area is rewritten
  EXPECT_EQ(rig.emu->Requests(), 3u);  // the check's read, the volume block, one write
}

TEST(QuickFormat, HighestLbn2807GivesTheSevenHundredTwentyKilobyteLayout) {
  Rig rig;
  WriteKelvoMedium(rig.medium, 5);
  WriteVolumeWords(rig.medium, 2807, 18);  // an 18-sector file system on a 9-sector disk
  FormatResult r = rig.Format(MediaKind::F3_1Pt2_512, true);
  ASSERT_EQ(r.code, 0u);
  EXPECT_EQ(r.media, MediaKind::F3_720_512);
  auto bytes = ReadBytes(rig.medium);
  EXPECT_EQ(WordAt(bytes, 512 + 2), 1403);
  EXPECT_EQ(WordAt(bytes, 512 + 6), 9);
}

TEST(QuickFormat, FiveInchSelectionKeepsFiveInchCodes) {
  Rig rig(/*five_inch=*/true);
  WriteKelvoMedium(rig.medium, 1);
  FormatResult r = rig.Format(MediaKind::F5_720_512, true);
  ASSERT_EQ(r.code, 0u);
  EXPECT_EQ(r.media, MediaKind::F5_1Pt2_512);
}

TEST(QuickFormat, DiskInTheWrongGeometryFails) {
  Rig rig;
  WriteKelvoMedium(rig.medium, 2);  // 18 sectors: becomes 720 KB, which it is not
  FormatResult r = rig.Format(MediaKind::F3_720_512, true);
  EXPECT_EQ(r.code, ERR_SECTOR_NOT_FOUND);
  EXPECT_FALSE(r.declined);
}

TEST(QuickFormat, NonPrinterDiskOffersAFullFormat) {
  Rig declined;
  WritePatternMedium(declined.medium, 9);
  auto before = ReadBytes(declined.medium);
  declined.ui.answers = {Button::No};
  FormatResult r = declined.Format(MediaKind::F3_720_512, true);
  EXPECT_TRUE(r.declined);
  EXPECT_EQ(declined.ui.asks.at(0).text,
            "The disk is not in Kelvo format. Do you wish to format it now?");
  EXPECT_EQ(declined.ui.asks[0].buttons, Buttons::YesNo);
  EXPECT_EQ(ReadBytes(declined.medium), before);
  ShowFormatOutcome(declined.ui, r);
  EXPECT_EQ(declined.ui.asks.size(), 1u);

  Rig accepted;  // an unformatted disk
  accepted.ui.answers = {Button::Yes};
  r = accepted.Format(MediaKind::F3_720_512, true);
  ASSERT_EQ(r.code, 0u);
  EXPECT_TRUE(accepted.progress.full_mode_shown);
  EXPECT_EQ(ReadBytes(accepted.medium).size(), 737280u);
}

TEST(QuickFormat, RetryAfterWriteProtectionIsLiftedSucceeds) {
  Rig lifted;
  WriteKelvoMedium(lifted.medium, 5);
  lifted.emu->SetWriteProtected(true);
  lifted.ui.answers = {Button::Retry};
  lifted.ui.on_ask = [&](const std::string&) { lifted.emu->SetWriteProtected(false); };
  EXPECT_EQ(lifted.Format(MediaKind::F3_720_512, true).code, 0u);
}

TEST(CapacityChoice, TableOfDriveFormsAndTexts) {
  EXPECT_EQ(MediaForCapacity("720K", kDriveForm35), MediaKind::F3_720_512);
  EXPECT_EQ(MediaForCapacity("720K", kDriveForm525), MediaKind::F5_720_512);
  EXPECT_EQ(MediaForCapacity("1.2M", kDriveForm35), MediaKind::F3_1Pt2_512);
  EXPECT_EQ(MediaForCapacity("1.2M", kDriveForm525), MediaKind::F5_1Pt2_512);
  EXPECT_EQ(MediaForCapacity("1.44M", kDriveForm35), MediaKind::Unknown);
  EXPECT_EQ(CapacityText(MediaKind::F5_720_512), "720K");
  EXPECT_EQ(CapacityText(MediaKind::F3_1Pt2_512), "1.2M");
}

TEST(LabelDisk, ChangesOnlyTheDiskIdBytes) {
  Rig rig;
  WriteKelvoMedium(rig.medium, 5, "A MUCH LONGER ORIGINAL DISK ID");
  auto before = ReadBytes(rig.medium);
  ASSERT_EQ(LabelDisk(*rig.drive, "PAYROLL"), 0u);
  auto after = ReadBytes(rig.medium);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i < 512 + 66 || i >= 512 + 100) {
      ASSERT_EQ(after[i], before[i]) << "byte " << i;
    }
  }
  EXPECT_EQ(DiskId(after), "PAYROLL");
  EXPECT_EQ(after[512 + 66], 'I');
  EXPECT_EQ(after[512 + 67], 'D');
  for (std::size_t i = 512 + 68 + 7; i < 512 + 100; ++i) EXPECT_EQ(after[i], 0) << i;

  // Empty: the marker stays, the text goes; long: cut to 30 characters.
  ASSERT_EQ(LabelDisk(*rig.drive, ""), 0u);
  EXPECT_EQ(DiskId(ReadBytes(rig.medium)), "");
  ASSERT_EQ(LabelDisk(*rig.drive, std::string(40, 'X')), 0u);
  EXPECT_EQ(DiskId(ReadBytes(rig.medium)), std::string(30, 'X'));
}

TEST(LabelDisk, RefusesOtherDisksAndProtectedOnes) {
  Rig rig;
  WritePatternMedium(rig.medium, 9);
  EXPECT_EQ(LabelDisk(*rig.drive, "X"), ERR_NOT_KELVO_FORMAT);
  WriteKelvoMedium(rig.medium, 5);
  rig.emu->SetWriteProtected(true);
  EXPECT_EQ(LabelDisk(*rig.drive, "X"), ERR_WRITE_PROTECT);
  EXPECT_FALSE(rig.drive->IsOpen());
}

}  // namespace
}  // namespace kelvo::test
