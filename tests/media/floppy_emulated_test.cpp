#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "media/emulated_floppy.h"
#include "support/floppy_media.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

std::vector<std::uint8_t> Blocks(std::uint32_t count) { return std::vector<std::uint8_t>(count * 512); }

TEST(EmulatedFloppyString, ParsesPathAndOptions) {
  EmulatedFloppyOptions o;
  ASSERT_TRUE(ParseEmulatedFloppy("/tmp/a.img", o));
  EXPECT_EQ(o.path, "/tmp/a.img");
  EXPECT_FALSE(o.five_inch);
  EXPECT_FALSE(o.write_protected);

  ASSERT_TRUE(ParseEmulatedFloppy("/tmp/odd,name.img,form=5.25,wp", o));
  EXPECT_EQ(o.path, "/tmp/odd,name.img");
  EXPECT_TRUE(o.five_inch);
  EXPECT_TRUE(o.write_protected);

  EXPECT_FALSE(ParseEmulatedFloppy("", o));
  EXPECT_FALSE(ParseEmulatedFloppy(",wp", o));
  EXPECT_FALSE(ParseEmulatedFloppy("x.img,form=8", o));
}

TEST(EmulatedFloppy, GeometryFollowsFileSizeAndMediaType) {
  TempDir dir;
  WritePatternMedium(dir / "m.img", 15);
  auto drive = MakeEmulatedFloppy(dir / "m.img");
  ASSERT_EQ(drive->OpenDevice(), 0u);
  auto buf = Blocks(1);
  // Before a media type is set only the first track's shared sectors read.
  EXPECT_EQ(drive->ReadSectors(1, 1, buf.data()), 0u);
  EXPECT_EQ(buf[0], PatternByte(1));
  EXPECT_EQ(drive->ReadSectors(20, 1, buf.data()), ERR_SECTOR_NOT_FOUND);
  // A mismatched media type fails like a drive would.
  ASSERT_EQ(drive->SetMediaType(MediaKind::F3_720_512), 0u);
  EXPECT_EQ(drive->ReadSectors(20, 1, buf.data()), ERR_SECTOR_NOT_FOUND);
  ASSERT_EQ(drive->SetMediaType(MediaKind::F3_1Pt2_512), 0u);
  auto two = Blocks(2);
  ASSERT_EQ(drive->ReadSectors(2399, 1, two.data()), 0u);
  EXPECT_EQ(two[0], PatternByte(2399));
  // Past the last of the 80 cylinders.
  EXPECT_EQ(drive->ReadSectors(2399, 2, two.data()), ERR_SECTOR_NOT_FOUND);
  // The drive's form limits the media types.
  EXPECT_EQ(drive->SetMediaType(MediaKind::F5_1Pt2_512), ERR_UNRECOGNIZED_MEDIA);

  // No medium file, or one of no floppy's size.
  auto missing = MakeEmulatedFloppy(dir / "none.img");
  ASSERT_EQ(missing->OpenDevice(), 0u);
  EXPECT_EQ(missing->ReadSectors(1, 1, buf.data()), ERR_UNRECOGNIZED_MEDIA);
  EXPECT_EQ(missing->WriteSectors(1, 1, buf.data()), ERR_UNRECOGNIZED_MEDIA);
  EXPECT_FALSE(std::filesystem::exists(dir / "none.img"));

  WriteFileBytes(dir / "odd.img", std::string(1000, 'x'));
  auto odd = MakeEmulatedFloppy(dir / "odd.img");
  ASSERT_EQ(odd->OpenDevice(), 0u);
  EXPECT_EQ(odd->ReadSectors(0, 1, buf.data()), ERR_UNRECOGNIZED_MEDIA);
}

TEST(EmulatedFloppy, FormattingRelaysTheMediumInTheNewGeometry) {
  TempDir dir;
  auto drive = MakeEmulatedFloppy(dir / "new.img", /*five_inch=*/true);
  ASSERT_EQ(drive->OpenDevice(), 0u);
  EXPECT_EQ(drive->FormatCylinder(0, MediaKind::F3_1Pt2_512), ERR_UNRECOGNIZED_MEDIA);
  EXPECT_EQ(drive->FormatCylinder(0, static_cast<MediaKind>(3)), ERR_UNRECOGNIZED_MEDIA);
  EXPECT_EQ(drive->Requests(), 0u);  // refused codes make no request

  ASSERT_EQ(drive->FormatCylinder(0, MediaKind::F5_1Pt2_512), 0u);
  EXPECT_EQ(std::filesystem::file_size(dir / "new.img"), MediumBytes(15));
  auto buf = Blocks(1);
  ASSERT_EQ(drive->ReadSectors(29, 1, buf.data()), 0u);
  EXPECT_EQ(buf[0], 0xF6);
  // Cylinder 1 has not been formatted in this geometry yet.
  EXPECT_EQ(drive->ReadSectors(30, 1, buf.data()), ERR_SECTOR_NOT_FOUND);
  ASSERT_EQ(drive->FormatCylinder(1, MediaKind::F5_1Pt2_512), 0u);
  EXPECT_EQ(drive->ReadSectors(30, 1, buf.data()), 0u);

  // A new geometry again: 720 KB.
  ASSERT_EQ(drive->FormatCylinder(5, MediaKind::F5_720_512), 0u);
  EXPECT_EQ(std::filesystem::file_size(dir / "new.img"), MediumBytes(9));
  EXPECT_EQ(drive->CurrentMediaType(), MediaKind::F5_720_512);
  EXPECT_EQ(drive->ReadSectors(0, 1, buf.data()), ERR_SECTOR_NOT_FOUND);
  EXPECT_EQ(drive->ReadSectors(90, 18, Blocks(18).data()), 0u);
}

TEST(EmulatedFloppy, InjectedFaultHitsTheNthRequestOnly) {
  TempDir dir;
  WritePatternMedium(dir / "m.img", 9);
  auto drive = MakeEmulatedFloppy(dir / "m.img");
  ASSERT_EQ(drive->OpenDevice(), 0u);
  ASSERT_EQ(drive->SetMediaType(MediaKind::F3_720_512), 0u);
  auto buf = Blocks(1);
  drive->InjectFault(2, ERR_CRC);
  EXPECT_EQ(drive->ReadSectors(0, 1, buf.data()), 0u);
  EXPECT_EQ(drive->WriteSectors(0, 1, buf.data()), ERR_CRC);
  EXPECT_EQ(drive->ReadSectors(0, 1, buf.data()), 0u);
  EXPECT_EQ(drive->Requests(), 3u);

  drive->InjectFault(1, ERR_NOT_READY, /*persistent=*/true);
  EXPECT_EQ(drive->ReadSectors(0, 1, buf.data()), ERR_NOT_READY);
  EXPECT_EQ(drive->ReadSectors(0, 1, buf.data()), ERR_NOT_READY);
  drive->ClearFault();
  EXPECT_EQ(drive->ReadSectors(0, 1, buf.data()), 0u);
}

TEST(EmulatedFloppy, ExclusiveUseAndMediumChange) {
  TempDir dir;
  WritePatternMedium(dir / "one.img", 9, 1);
  WritePatternMedium(dir / "two.img", 9, 2);
  auto drive = MakeEmulatedFloppy(dir / "one.img");
  ASSERT_EQ(drive->OpenDevice(), 0u);
  EXPECT_EQ(drive->OpenDevice(), ERR_DRIVE_LOCKED);
  EXPECT_EQ(drive->InsertMedium((dir / "two.img").string()), ERR_DRIVE_LOCKED);
  ASSERT_EQ(drive->SetMediaType(MediaKind::F3_720_512), 0u);
  drive->CloseDevice();
  auto buf = Blocks(1);
  EXPECT_EQ(drive->ReadSectors(0, 1, buf.data()), ERR_INVALID_HANDLE);

  ASSERT_EQ(drive->InsertMedium((dir / "two.img").string()), 0u);
  EXPECT_EQ(drive->CurrentMediaType(), MediaKind::Unknown);
  ASSERT_EQ(drive->OpenDevice(), 0u);
  ASSERT_EQ(drive->ReadSectors(3, 1, buf.data()), 0u);
  EXPECT_EQ(buf[0], PatternByte(3, 2));
}

}  // namespace
}  // namespace kelvo::test
