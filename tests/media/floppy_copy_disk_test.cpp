#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "diskfs/copy_disk.h"
#include "media/emulated_floppy.h"
#include "support/floppy_media.h"
#include "support/floppy_progress.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

const char kHigh[] = "Does the destination drive contain a high-density diskette?";
const char kDouble[] = "Does the destination drive contain a double-density diskette?";

struct Drive {
  std::shared_ptr<CEmulatedFloppy> emu;
  std::unique_ptr<CFloppyDrive> drive;
  Drive(const fs::path& medium, const std::string& letter, bool five_inch = false) {
    emu = MakeEmulatedFloppy(medium, five_inch);
    drive = std::make_unique<CFloppyDrive>(letter, emu);
  }
  DiskCopyEnd End() const { return {drive.get(), {}}; }
};

DiskCopyEnd File(const fs::path& p) { return {nullptr, p}; }

std::vector<std::uint8_t> Prefix(const std::vector<std::uint8_t>& bytes, std::size_t n) {
  return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(n, bytes.size()))};
}

TEST(CopyDiskMedia, ClassificationAndConfirmationTable) {
  EXPECT_EQ(SourceClass(2339), MediaKind::F3_1Pt2_512);
  EXPECT_EQ(SourceClass(1404), MediaKind::F3_1Pt2_512);
  EXPECT_EQ(SourceClass(1403), MediaKind::F3_720_512);
  EXPECT_EQ(DestinationClass(kDriveForm35), MediaKind::F3_1Pt2_512);
  EXPECT_EQ(DestinationClass(kDriveForm525), MediaKind::F5_1Pt2_512);
  struct Row {
    MediaKind source, destination;
    const char* question;
    MediaKind code;
  } rows[] = {
      {MediaKind::F3_1Pt2_512, MediaKind::F5_1Pt2_512, kHigh, MediaKind::F5_1Pt2_512},
      {MediaKind::F3_1Pt2_512, MediaKind::F3_1Pt2_512, kHigh, MediaKind::F3_1Pt2_512},
      {MediaKind::F3_720_512, MediaKind::F3_1Pt2_512, kDouble, MediaKind::F3_720_512},
      {MediaKind::F3_720_512, MediaKind::F5_1Pt2_512, kHigh, MediaKind::F5_720_512},
  };
  for (const Row& r : rows) {
    MediaConfirmation c = ConfirmationFor(r.source, r.destination);
    EXPECT_EQ(c.question, r.question);
    EXPECT_EQ(c.code, r.code);
  }
}

TEST(CopyDisk, DiskToImageOfAOnePointTwoMegabyteDisk) {
  TempDir dir;
  WriteKelvoMedium(dir / "src.img", 17, "SRC", 5);
  Drive a(dir / "src.img", "A:");
  HookedInteraction ui;
  RecordingProgress progress;
  fs::path image = dir / "copy.kdi";
  ASSERT_EQ(CopyDisk(a.End(), File(image), ui, progress), 0u);
  auto bytes = ReadBytes(image);
  EXPECT_EQ(bytes.size(), 1198080u);
  EXPECT_EQ(bytes, Prefix(ReadBytes(dir / "src.img"), 1198080));
  EXPECT_TRUE(ui.asks.empty());
  EXPECT_TRUE(progress.Saw("Reading Source Disk..."));
  EXPECT_EQ(progress.statuses.back(), "Disk copy completed without error.");
  EXPECT_EQ(progress.positions.back(), 78);
  EXPECT_EQ(ui.beeps.back(), BeepKind::Information);
  // The check, the media type from the disk, the volume block, one read per cylinder.
  EXPECT_EQ(a.emu->Requests(), 3u + 78u);
  EXPECT_FALSE(a.drive->IsOpen());
}

TEST(CopyDisk, FailedOrStoppedDiskToImageLeavesNoPartialFile) {
  TempDir dir;
  WriteKelvoMedium(dir / "src.img", 5);
  Drive a(dir / "src.img", "A:");
  fs::path image = dir / "copy.kdi";
  {
    HookedInteraction ui;
    RecordingProgress progress;
    a.emu->InjectFault(2 + 30, ERR_CRC);  // cylinder 29
    EXPECT_EQ(CopyDisk(a.End(), File(image), ui, progress), ERR_CRC);
    EXPECT_EQ(progress.statuses.back(), "Disk copy not complete due to error.");
    EXPECT_EQ(ui.asks.size(), 1u);
  }
  {
    HookedInteraction ui;
    RecordingProgress progress;
    progress.stop_at = 20;
    EXPECT_EQ(CopyDisk(a.End(), File(image), ui, progress), kDiskCopyStopped);
  }
  // Nothing but the medium is left in the folder: no image, no temporary file.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  // An image that was there before a failed copy is kept as it was.
  WriteFileBytes(image, "previous");
  HookedInteraction ui;
  RecordingProgress progress;
  a.emu->InjectFault(10, ERR_CRC);
  EXPECT_NE(CopyDisk(a.End(), File(image), ui, progress), 0u);
  EXPECT_EQ(ReadFileText(image), "previous");
}

TEST(CopyDisk, ImageToBlankDriveAsksAndFormats) {
  TempDir dir;
  WriteKelvoMedium(dir / "src.img", 5, "SRC", 9);
  auto source = Prefix(ReadBytes(dir / "src.img"), 718848);
  WriteFileBytes(dir / "disk.kdi", std::string(source.begin(), source.end()));
  Drive a(dir / "blank.img", "A:");
  HookedInteraction ui;
  RecordingProgress progress;
  ui.answers = {Button::Yes};
  ASSERT_EQ(CopyDisk(File(dir / "disk.kdi"), a.End(), ui, progress), 0u);
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{kDouble}));
  auto medium = ReadBytes(dir / "blank.img");
  EXPECT_EQ(medium.size(), 737280u);  // formatted with code 5
  EXPECT_EQ(Prefix(medium, 718848), source);
  EXPECT_TRUE(progress.Saw("Formatting..."));
  EXPECT_TRUE(progress.Saw("Writing Disk Image Data..."));
}

TEST(CopyDisk, AnswerNoIsAMediaMismatchAndWritesNothing) {
  TempDir dir;
  WriteKelvoMedium(dir / "src.img", 17);
  auto source = Prefix(ReadBytes(dir / "src.img"), 1198080);
  WriteFileBytes(dir / "disk.kdi", std::string(source.begin(), source.end()));
  WriteKelvoMedium(dir / "dst.img", 16, "DST", 4);
  auto before = ReadBytes(dir / "dst.img");
  Drive b(dir / "dst.img", "B:", /*five_inch=*/true);
  HookedInteraction ui;
  RecordingProgress progress;
  ui.answers = {Button::No};
  EXPECT_EQ(CopyDisk(File(dir / "disk.kdi"), b.End(), ui, progress), ERR_MEDIA_MISMATCH);
  EXPECT_EQ(ui.Texts(),
            (std::vector<std::string>{kHigh,
                                      "The media types for the source and destination do not "
                                      "match."}));
  EXPECT_EQ(ReadBytes(dir / "dst.img"), before);
  EXPECT_EQ(progress.statuses.back(), "Disk copy not complete due to error.");
}

TEST(CopyDisk, ImageWithAPartialLastBlockLosesIt) {
  TempDir dir;
  WriteKelvoMedium(dir / "dst.img", 5, "DST", 1);  // a printer disk: no formatting
  Drive a(dir / "dst.img", "A:");
  WriteKelvoMedium(dir / "src.img", 5, "SRC", 2);
  auto source = Prefix(ReadBytes(dir / "src.img"), 100 * 512 + 300);
  WriteFileBytes(dir / "short.kdi", std::string(source.begin(), source.end()));
  HookedInteraction ui;
  RecordingProgress progress;
  ui.answers = {Button::Yes};
  ASSERT_EQ(CopyDisk(File(dir / "short.kdi"), a.End(), ui, progress), 0u);
  EXPECT_FALSE(progress.Saw("Formatting..."));
  auto medium = ReadBytes(dir / "dst.img");
  EXPECT_EQ(Prefix(medium, 100 * 512), Prefix(source, 100 * 512));
  EXPECT_EQ(medium[100 * 512], PatternByte(100, 1));  // block 100 untouched
}

TEST(CopyDisk, BadImageIsRefused) {
  TempDir dir;
  WriteKelvoMedium(dir / "dst.img", 5);
  Drive a(dir / "dst.img", "A:");
  WriteFileBytes(dir / "bad.kdi", std::string(40960, '\0'));
  HookedInteraction ui;
  RecordingProgress progress;
  EXPECT_EQ(CopyDisk(File(dir / "bad.kdi"), a.End(), ui, progress), ERR_BAD_IMAGE);
  EXPECT_EQ(ui.Texts().back(), "The file is not a valid Kelvo disk image.");
}

TEST(CopyDisk, ImageToImageCopiesEveryByte) {
  TempDir dir;
  WriteFileBytes(dir / "a.kdi", std::string(40961, 'q'));  // not validated
  HookedInteraction ui;
  RecordingProgress progress;
  ASSERT_EQ(CopyDisk(File(dir / "a.kdi"), File(dir / "b.kdi"), ui, progress), 0u);
  EXPECT_EQ(ReadFileText(dir / "b.kdi"), ReadFileText(dir / "a.kdi"));
  EXPECT_EQ(CopyDisk(File(dir / "missing.kdi"), File(dir / "c.kdi"), ui, progress),
            ERR_FILE_NOT_FOUND);
  EXPECT_FALSE(fs::exists(dir / "c.kdi"));
  EXPECT_NE(CopyDisk(File(dir / "a.kdi"), File(dir / "no" / "d.kdi"), ui, progress), 0u);
}

TEST(CopyDisk, DriveToDriveBetweenTwoDrives) {
  TempDir dir;
  WriteKelvoMedium(dir / "src.img", 1, "SRC", 7);
  Drive a(dir / "src.img", "A:", /*five_inch=*/true);
  Drive b(dir / "dst.img", "B:");
  HookedInteraction ui;
  RecordingProgress progress;
  ui.answers = {Button::Yes};
  ASSERT_EQ(CopyDisk(a.End(), b.End(), ui, progress), 0u);
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{kHigh}));
  auto medium = ReadBytes(dir / "dst.img");
  EXPECT_EQ(medium.size(), 1228800u);  // formatted with 17
  EXPECT_EQ(Prefix(medium, 1198080), Prefix(ReadBytes(dir / "src.img"), 1198080));
  EXPECT_TRUE(progress.Saw("Checking Destination Disk. Please Wait..."));
  EXPECT_TRUE(progress.Saw("Writing Destination Disk..."));
}

TEST(CopyDisk, SevenHundredTwentyKilobytesIntoAFiveInchDriveUsesCode16) {
  TempDir dir;
  WriteKelvoMedium(dir / "src.img", 5);
  Drive a(dir / "src.img", "A:");
  Drive b(dir / "dst.img", "B:", /*five_inch=*/true);
  HookedInteraction ui;
  RecordingProgress progress;
  ui.answers = {Button::Yes};
  ASSERT_EQ(CopyDisk(a.End(), b.End(), ui, progress), 0u);
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{kHigh}));
  EXPECT_EQ(b.emu->CurrentMediaType(), MediaKind::F5_720_512);
}

TEST(CopyDisk, OneDriveAsksForTheDestinationDisk) {
  TempDir dir;
  WriteKelvoMedium(dir / "src.img", 5, "SRC", 8);
  Drive a(dir / "src.img", "A:");
  HookedInteraction ui;
  RecordingProgress progress;
  ui.answers = {Button::Yes, Button::Ok};
  ui.on_ask = [&](const std::string& text) {
    if (text == "Please insert the destination disk") {
      EXPECT_EQ(a.emu->InsertMedium((dir / "dst.img").string()), 0u);  // the drive is closed
    }
  };
  ASSERT_EQ(CopyDisk(a.End(), a.End(), ui, progress), 0u);
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{kDouble, "Please insert the destination disk"}));
  EXPECT_EQ(ui.asks[1].buttons, Buttons::OkCancel);
  EXPECT_EQ(Prefix(ReadBytes(dir / "dst.img"), 718848), Prefix(ReadBytes(dir / "src.img"), 718848));

  // Cancel at the prompt ends the copy before anything is written.
  HookedInteraction cancel;
  cancel.answers = {Button::Yes, Button::Cancel};
  Drive c(dir / "src.img", "A:");
  auto before = ReadBytes(dir / "src.img");
  EXPECT_EQ(CopyDisk(c.End(), c.End(), cancel, progress), kDiskCopyStopped);
  EXPECT_EQ(ReadBytes(dir / "src.img"), before);
}

TEST(CopyDisk, WriteProtectedDestinationRetryThenCancel) {
  TempDir dir;
  WriteKelvoMedium(dir / "src.img", 5);
  WriteKelvoMedium(dir / "dst.img", 5, "DST", 6);
  auto before = ReadBytes(dir / "dst.img");
  Drive a(dir / "src.img", "A:");
  Drive b(dir / "dst.img", "B:");
  b.emu->SetWriteProtected(true);
  HookedInteraction ui;
  RecordingProgress progress;
  ui.answers = {Button::Yes, Button::Retry, Button::Cancel};
  EXPECT_EQ(CopyDisk(a.End(), b.End(), ui, progress), ERR_WRITE_PROTECT);
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{kDouble, "The media is write protected.",
                                                  "The media is write protected."}));
  EXPECT_EQ(ReadBytes(dir / "dst.img"), before);
}

TEST(CopyDisk, SourceThatIsNotAPrinterDisk) {
  TempDir dir;
  WritePatternMedium(dir / "src.img", 9);
  Drive a(dir / "src.img", "A:");
  HookedInteraction ui;
  RecordingProgress progress;
  ui.answers = {Button::No};
  EXPECT_EQ(CopyDisk(a.End(), File(dir / "x.kdi"), ui, progress), ERR_NOT_KELVO_FORMAT);
  EXPECT_FALSE(fs::exists(dir / "x.kdi"));
}

}  // namespace
}  // namespace kelvo::test
