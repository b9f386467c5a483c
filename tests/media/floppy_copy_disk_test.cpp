#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "diskfs/copy_disk.h"
#include "media/emulated_floppy.h"
#include "support/floppy_media.h"
#include "support/progress_recorder.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

const char kHigh[] = "Does the destination drive contain a high-density diskette?";
const char kDouble[] = "Does the destination drive contain a double-density diskette?";
const char kProtected[] = "The media is write protected.";

struct Drive {
  std::shared_ptr<CEmulatedFloppy> emu;
  std::unique_ptr<CFloppyDrive> drive;
  Drive(const fs::path& medium, const std::string& letter, bool five_inch = false)
      : emu(MakeEmulatedFloppy(medium, five_inch)), drive(std::make_unique<CFloppyDrive>(letter, emu)) {}
  DiskCopyEnd End() const { return {drive.get(), {}}; }
};

DiskCopyEnd File(const fs::path& p) { return {nullptr, p}; }

std::vector<std::uint8_t> Prefix(const std::vector<std::uint8_t>& bytes, std::size_t n) {
  return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(n, bytes.size()))};
}

// The first `n` bytes of `medium` as an image file.
fs::path ImageOf(const fs::path& medium, std::size_t n, const fs::path& image) {
  const auto bytes = Prefix(ReadBytes(medium), n);
  WriteFileBytes(image, std::string(bytes.begin(), bytes.end()));
  return image;
}

struct Rig {
  TempDir dir;
  ScriptedInteraction ui;
  RecordingProgress progress;
  ErrorCode Copy(const DiskCopyEnd& from, const DiskCopyEnd& to) { return CopyDisk(from, to, ui, progress); }
};

// The boundary between the classes (each class in use: the copies below).
TEST(CopyDiskMedia, ClassificationBoundary) {
  EXPECT_EQ(SourceClass(1404), MediaKind::F3_1Pt2_512);
  EXPECT_EQ(SourceClass(1403), MediaKind::F3_720_512);
}

// Copies to a drive: the question asked, the answers, and the format the
// destination gets (or, when the copy fails, its disk left as it was).
TEST(CopyDisk, DestinationDriveQuestionAndFormat) {
  struct Case {
    const char* what;
    int source_code;
    bool source_five_inch, source_is_image;
    int destination_code;  // 0: a blank medium
    bool destination_five_inch, write_protected;
    std::deque<Button> answers;
    std::vector<std::string> texts;
    ErrorCode rc;
    MediaKind formatted;
  };
  const std::string mismatch = "The media types for the source and destination do not match.";
  const Case cases[] = {
      {"720 KB image to a blank drive", 5, false, true, 0, false, false, {Button::Yes}, {kDouble}, ERR_OK,
       MediaKind::F3_720_512},
      {"5.25-inch 1.2 MB drive to a 3.5-inch one", 1, true, false, 0, false, false, {Button::Yes}, {kHigh},
       ERR_OK, MediaKind::F3_1Pt2_512},
      {"720 KB into a 5.25-inch drive uses code 16", 5, false, false, 0, true, false, {Button::Yes}, {kHigh},
       ERR_OK, MediaKind::F5_720_512},
      {"answer No is a media mismatch", 17, false, true, 16, true, false, {Button::No}, {kHigh, mismatch},
       ERR_MEDIA_MISMATCH, MediaKind::Unknown},
      {"write protected: Retry, then Cancel", 5, false, false, 5, false, true,
       {Button::Yes, Button::Retry, Button::Cancel}, {kDouble, kProtected, kProtected}, ERR_WRITE_PROTECT,
       MediaKind::Unknown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    const fs::path src = rig.dir / "src.img", dst = rig.dir / "dst.img";
    WriteKelvoMedium(src, c.source_code, "SRC", 7);
    if (c.destination_code) WriteKelvoMedium(dst, c.destination_code, "DST", 4);
    const auto before = ReadBytes(dst);
    const std::size_t data = c.source_code == 5 ? 718848 : 1198080;
    Drive source(src, "A:", c.source_five_inch);
    Drive destination(dst, "B:", c.destination_five_inch);
    destination.emu->SetWriteProtected(c.write_protected);
    rig.ui.answers = c.answers;
    const DiskCopyEnd from = c.source_is_image ? File(ImageOf(src, data, rig.dir / "d.kdi")) : source.End();
    EXPECT_EQ(rig.Copy(from, destination.End()), c.rc);
    EXPECT_EQ(rig.ui.Texts(), c.texts);
    if (c.rc == ERR_OK) {
      EXPECT_EQ(destination.emu->CurrentMediaType(), c.formatted);
      EXPECT_EQ(Prefix(ReadBytes(dst), data), Prefix(ReadBytes(src), data));
    } else {
      EXPECT_EQ(ReadBytes(dst), before);
    }
  }
}

// Stopped part way: no image file (a disk that is no printer disk is
// refused before the file is made: kdu's copydisk test).
TEST(CopyDisk, StoppedDiskToImageLeavesNoFile) {
  Rig rig;
  WriteKelvoMedium(rig.dir / "src.img", 5);
  Drive a(rig.dir / "src.img", "A:");
  rig.progress.stop_at = 20;
  EXPECT_EQ(rig.Copy(a.End(), File(rig.dir / "copy.kdi")), kDiskCopyStopped);
  EXPECT_EQ(std::distance(fs::directory_iterator(rig.dir.path()), fs::directory_iterator()), 1);
}

TEST(CopyDisk, ImageWithAPartialLastBlockLosesIt) {
  Rig rig;
  WriteKelvoMedium(rig.dir / "dst.img", 5, "DST", 1);  // a printer disk: no formatting
  Drive a(rig.dir / "dst.img", "A:");
  WriteKelvoMedium(rig.dir / "src.img", 5, "SRC", 2);
  const fs::path image = ImageOf(rig.dir / "src.img", 100 * 512 + 300, rig.dir / "short.kdi");
  rig.ui.answers = {Button::Yes};
  ASSERT_EQ(rig.Copy(File(image), a.End()), 0u);
  EXPECT_FALSE(rig.progress.Saw("Formatting..."));
  auto medium = ReadBytes(rig.dir / "dst.img");
  EXPECT_EQ(Prefix(medium, 100 * 512), Prefix(ReadBytes(image), 100 * 512));
  EXPECT_EQ(medium[100 * 512], PatternByte(100, 1));  // block 100 untouched

  WriteFileBytes(rig.dir / "bad.kdi", std::string(40960, '\0'));
  EXPECT_EQ(rig.Copy(File(rig.dir / "bad.kdi"), a.End()), ERR_BAD_IMAGE);
}

TEST(CopyDisk, ImageToImageCopiesEveryByte) {
  Rig rig;
  const fs::path& dir = rig.dir.path();
  WriteFileBytes(dir / "a.kdi", std::string(40961, 'q'));  // not validated
  ASSERT_EQ(rig.Copy(File(dir / "a.kdi"), File(dir / "b.kdi")), 0u);
  EXPECT_EQ(ReadFileText(dir / "b.kdi"), ReadFileText(dir / "a.kdi"));
  EXPECT_EQ(rig.Copy(File(dir / "missing.kdi"), File(dir / "c.kdi")), ERR_FILE_NOT_FOUND);
  EXPECT_FALSE(fs::exists(dir / "c.kdi"));
  EXPECT_NE(rig.Copy(File(dir / "a.kdi"), File(dir / "no" / "d.kdi")), 0u);
  // A raw image has all 80 cylinders, the two past the file system zeros.
  WriteKelvoMedium(dir / "e.kdi", 5);
  fs::resize_file(dir / "e.kdi", 718848);
  ASSERT_EQ(rig.Copy(File(dir / "e.kdi"), File(dir / "e.img")), 0u);
  EXPECT_EQ(ReadFileText(dir / "e.img"), ReadFileText(dir / "e.kdi") + std::string(18432, '\0'));
}

TEST(CopyDisk, OneDriveAsksForTheDestinationDisk) {
  Rig rig;
  const fs::path src = rig.dir / "src.img", dst = rig.dir / "dst.img";
  WriteKelvoMedium(src, 5, "SRC", 8);
  Drive a(src, "A:");
  rig.ui.answers = {Button::Yes, Button::Ok};
  rig.ui.on_ask = [&](const std::string& text) {
    if (text == "Please insert the destination disk") {
      EXPECT_EQ(a.emu->InsertMedium(dst.string()), 0u);  // the drive is closed
    }
  };
  ASSERT_EQ(rig.Copy(a.End(), a.End()), 0u);
  EXPECT_EQ(rig.ui.Texts(), (std::vector<std::string>{kDouble, "Please insert the destination disk"}));
  EXPECT_EQ(Prefix(ReadBytes(dst), 718848), Prefix(ReadBytes(src), 718848));

  // Cancel at the prompt ends the copy before anything is written.
  Rig cancel;
  cancel.ui.answers = {Button::Yes, Button::Cancel};
  Drive c(src, "A:");
  auto before = ReadBytes(src);
  EXPECT_EQ(cancel.Copy(c.End(), c.End()), kDiskCopyStopped);
  EXPECT_EQ(ReadBytes(src), before);
}

}  // namespace
}  // namespace kelvo::test
