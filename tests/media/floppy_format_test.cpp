#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "diskfs/format.h"
#include "diskfs/label_disk.h"
#include "media/emulated_floppy.h"
#include "support/floppy_media.h"
#include "support/progress_recorder.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

struct Rig {
  TempDir dir;
  std::filesystem::path medium = dir / "medium.img";
  std::shared_ptr<CEmulatedFloppy> emu;
  std::unique_ptr<CFloppyDrive> drive;
  ScriptedInteraction ui;
  RecordingProgress progress;

  explicit Rig(bool five_inch = false)
      : emu(MakeEmulatedFloppy(medium, five_inch)), drive(std::make_unique<CFloppyDrive>("A:", emu)) {}
  FormatResult Format(MediaKind media, bool quick, const std::string& id = "") {
    return FormatDisk(*drive, {media, quick, id}, ui, progress);
  }
};

std::string DiskId(const std::vector<std::uint8_t>& bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()) + 512 + 68);
}

// The layout each format gives: a full format writes every cylinder of the
// chosen media; a quick one follows the capacity of the file system on the
// disk and rewrites only the system area.
TEST(Format, LayoutOfTheFormattedDisk) {
  using K = MediaKind;
  struct Case {
    const char* what;
    bool five_inch;
    int medium_code;            // 0: a blank medium
    std::uint16_t highest_lbn;  // written over the medium's volume block (0: kept)
    K request;
    bool quick;
    const char* id;
    ErrorCode rc;
    K media;
    std::size_t size;
    std::uint16_t highest, sectors;
  } cases[] = {
      {"full, blank 1.2 MB", false, 0, 0, K::F3_1Pt2_512, false, "SHOP FLOOR", ERR_OK, K::F3_1Pt2_512, 1228800,
       2339, 15},
      {"full, 720 KB over 1.2 MB in a 5.25-inch drive", true, 1, 0, K::F5_720_512, false, "", ERR_OK,
       K::F5_720_512, 737280, 1403, 9},
      {"quick follows the disk's capacity", false, 17, 0, K::F3_720_512, true, "NEW", ERR_OK, K::F3_1Pt2_512,
       1228800, 2339, 15},
      {"quick, highest LBN 2807 on a 9-sector disk", false, 5, 2807, K::F3_1Pt2_512, true, "", ERR_OK,
       K::F3_720_512, 737280, 1403, 9},
      {"quick keeps 5.25-inch codes", true, 1, 0, K::F5_720_512, true, "", ERR_OK, K::F5_1Pt2_512, 1228800,
       2339, 15},
      {"quick, an 18-sector disk taken for 720 KB", false, 2, 0, K::F3_720_512, true, "", ERR_SECTOR_NOT_FOUND,
       K::Unknown, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig(c.five_inch);
    if (c.medium_code) WriteKelvoMedium(rig.medium, c.medium_code, "OLD", 3);
    if (c.highest_lbn) WriteVolumeWords(rig.medium, c.highest_lbn, 18);
    const FormatResult r = rig.Format(c.request, c.quick, c.id);
    EXPECT_FALSE(rig.drive->IsOpen());
    ASSERT_EQ(r.code, c.rc);
    EXPECT_FALSE(r.declined);
    if (c.rc != ERR_OK) continue;
    EXPECT_EQ(r.media, c.media);
    const auto bytes = ReadBytes(rig.medium);
    ASSERT_EQ(bytes.size(), c.size);
    EXPECT_EQ(WordAt(bytes, 512 + 2), c.highest);
    EXPECT_EQ(WordAt(bytes, 512 + 6), c.sectors);
    EXPECT_EQ(DiskId(bytes), *c.id ? c.id : "Kelvo Disk Utility");
    const auto last = static_cast<std::uint32_t>(bytes.size() / 512 - 1);
    if (c.quick) {  // only the system area is rewritten
      EXPECT_EQ(rig.progress.capacities, std::vector<MediaKind>{c.media});
      EXPECT_EQ(bytes[80 * 512], PatternByte(80, 3));
      EXPECT_EQ(bytes.back(), PatternByte(last, 3));
    } else {  // every cylinder formatted, not written
      EXPECT_GE(rig.ui.pumps, 80);
      EXPECT_EQ(bytes[80 * 512], 0xF6);
      EXPECT_EQ(bytes.back(), 0xF6);
    }
    ShowFormatOutcome(rig.ui, r);
    EXPECT_EQ(rig.ui.asks.back().text, "Drive formatted successfully");
  }
}

TEST(FullFormat, CancelStopsBetweenCylinders) {
  Rig rig;
  rig.progress.stop_at = 10;
  EXPECT_EQ(rig.Format(MediaKind::F3_720_512, false).code, ERR_FORMAT_CANCELLED);
  EXPECT_FALSE(rig.drive->IsOpen());
  EXPECT_LT(rig.progress.positions.back(), 20);
  // No file system was written on the half-formatted disk.
  const auto bytes = ReadBytes(rig.medium);
  EXPECT_TRUE(bytes.size() < 1024 || WordAt(bytes, 512 + 100) != 0xACC3);
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
    EXPECT_EQ(rig.ui.asks.size(), 2u);
    EXPECT_EQ(ReadBytes(rig.medium), before);
    ShowFormatOutcome(rig.ui, r);
    EXPECT_EQ(rig.ui.asks.back().text, "Drive format unsuccessful");
  }
  Rig lifted;  // Retry once the protection is lifted goes on
  WriteKelvoMedium(lifted.medium, 5);
  lifted.emu->SetWriteProtected(true);
  lifted.ui.answers = {Button::Retry};
  lifted.ui.on_ask = [&](const std::string&) { lifted.emu->SetWriteProtected(false); };
  EXPECT_EQ(lifted.Format(MediaKind::F3_720_512, true).code, 0u);
}

// A failing file-system write is tried in reliability/floppy_faults_test.cpp.
TEST(FullFormat, RetryStartsAgainAtCylinderZero) {
  Rig rig;
  rig.emu->InjectFault(41, ERR_NOT_READY);  // cylinder 40
  rig.ui.answers = {Button::Retry};
  ASSERT_EQ(rig.Format(MediaKind::F3_720_512, false).code, 0u);
  EXPECT_EQ(rig.ui.asks.size(), 1u);
  const auto bytes = ReadBytes(rig.medium);
  EXPECT_EQ(bytes.size(), 737280u);
  EXPECT_EQ(WordAt(bytes, 512 + 100), 0xACC3);
}

TEST(QuickFormat, NonPrinterDiskOffersAFullFormat) {
  Rig declined;
  WritePatternMedium(declined.medium, 9);
  auto before = ReadBytes(declined.medium);
  declined.ui.answers = {Button::No};
  FormatResult r = declined.Format(MediaKind::F3_720_512, true);
  EXPECT_TRUE(r.declined);
  EXPECT_EQ(declined.ui.asks.at(0).buttons, Buttons::YesNo);
  EXPECT_EQ(ReadBytes(declined.medium), before);
  ShowFormatOutcome(declined.ui, r);
  EXPECT_EQ(declined.ui.asks.size(), 1u);

  Rig accepted;  // an unformatted disk
  accepted.ui.answers = {Button::Yes};
  ASSERT_EQ(accepted.Format(MediaKind::F3_720_512, true).code, 0u);
  EXPECT_TRUE(accepted.progress.full_mode_shown);
  EXPECT_EQ(ReadBytes(accepted.medium).size(), 737280u);
}

TEST(CapacityChoice, DriveFormDecidesTheCode) {
  EXPECT_EQ(MediaForCapacity("720K", kDriveForm525), MediaKind::F5_720_512);
  EXPECT_EQ(MediaForCapacity("1.2M", kDriveForm35), MediaKind::F3_1Pt2_512);
  EXPECT_EQ(MediaForCapacity("1.44M", kDriveForm35), MediaKind::Unknown);
}

TEST(LabelDisk, ChangesOnlyTheDiskIdBytes) {
  Rig rig;
  WriteKelvoMedium(rig.medium, 5, "A MUCH LONGER ORIGINAL DISK ID");
  auto before = ReadBytes(rig.medium);
  ASSERT_EQ(LabelDisk(*rig.drive, "PAYROLL"), 0u);
  auto after = ReadBytes(rig.medium);
  ASSERT_EQ(after.size(), before.size());
  // Outside the marker and the 30-character field, nothing changes.
  EXPECT_TRUE(std::equal(after.begin(), after.begin() + 512 + 66, before.begin()));
  EXPECT_TRUE(std::equal(after.begin() + 512 + 100, after.end(), before.begin() + 512 + 100));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(after.data()) + 512 + 66, 2), "ID");
  EXPECT_EQ(DiskId(after), "PAYROLL");
  for (std::size_t i = 512 + 68 + 7; i < 512 + 100; ++i) EXPECT_EQ(after[i], 0) << i;

  // Empty: the marker stays, the text goes; long: cut to 30 characters.
  ASSERT_EQ(LabelDisk(*rig.drive, ""), 0u);
  EXPECT_EQ(DiskId(ReadBytes(rig.medium)), "");
  ASSERT_EQ(LabelDisk(*rig.drive, std::string(40, 'X')), 0u);
  EXPECT_EQ(DiskId(ReadBytes(rig.medium)), std::string(30, 'X'));

  rig.emu->SetWriteProtected(true);
  EXPECT_EQ(LabelDisk(*rig.drive, "X"), ERR_WRITE_PROTECT);
  EXPECT_FALSE(rig.drive->IsOpen());
}

}  // namespace
}  // namespace kelvo::test
