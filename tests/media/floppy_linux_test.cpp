#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "media/floppy_drive.h"
#include "media/linux_floppy.h"
#include "support/floppy_fake_calls.h"

namespace kelvo::test {
namespace {

// The 3.5-inch 720 KB row of the driver's geometry table (the 5.25-inch
// one, set on a 360 rpm drive, differs in gap and rate: SetMediaType below;
// other codes are refused: FormatBuildsGeometryAndTrackRequests).
TEST(LinuxFloppyTables, GeometriesOfThePrinterFormats) {
  auto g = FloppyGeometry(MediaKind::F3_720_512);
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->size, 1440u);
  EXPECT_EQ(g->sect, 9u);
  EXPECT_EQ(g->track, 80u);
  EXPECT_EQ(g->gap, 0x2A);
  EXPECT_EQ(g->rate, 0x02);
  EXPECT_EQ(g->fmt_gap, 0x50);
}

TEST(LinuxFloppyTables, DriveKindsAndTheirFormats) {
  using V = std::vector<MediaKind>;
  EXPECT_EQ(MediaTypesForDriveName("h1200"), (V{MediaKind::F5_1Pt2_512, MediaKind::F5_720_512}));
  EXPECT_EQ(MediaTypesForDriveName("H1440"),
            (V{MediaKind::F3_1Pt44_512, MediaKind::F3_720_512, MediaKind::F3_1Pt2_512}));
  EXPECT_EQ(MediaTypesForDriveName("E2880").front(), static_cast<MediaKind>(3));
  EXPECT_TRUE(MediaTypesForDriveName("(null)").empty());
  EXPECT_EQ(MediaTypesForCmos(2), MediaTypesForDriveName("h1200"));
  EXPECT_TRUE(MediaTypesForCmos(0).empty());
  EXPECT_EQ(DriveNumberOfPath("/dev/fd1"), 1u);
  EXPECT_EQ(DriveNumberOfPath("/dev/sdb"), 0u);
}

TEST(LinuxFloppy, OpensExclusivelyAndFallsBackToReadOnly) {
  auto sys = std::make_shared<FakeCalls>();
  CLinuxFloppy dev("/dev/fd0", sys);
  ASSERT_EQ(dev.OpenDevice(), 0u);
  ASSERT_FALSE(sys->open_flags.empty());
  EXPECT_TRUE(sys->open_flags[0] & O_EXCL);
  EXPECT_EQ(sys->open_flags[0] & O_ACCMODE, O_RDWR);
  dev.CloseDevice();

  sys->open_error = EROFS;  // a write-protected disk
  ASSERT_EQ(dev.OpenDevice(), 0u);
  std::vector<std::uint8_t> block(512);
  EXPECT_EQ(dev.ReadSectors(3, 1, block.data()), 0u);
  EXPECT_EQ(dev.WriteSectors(3, 1, block.data()), ERR_WRITE_PROTECT);
  EXPECT_EQ(dev.FormatCylinder(0, MediaKind::F3_720_512), ERR_WRITE_PROTECT);
  // The geometry of a write-protected disk can still be set.
  EXPECT_EQ(dev.SetMediaType(MediaKind::F3_720_512), 0u);
  EXPECT_EQ(sys->calls.back().geometry.sect, 9u);
  dev.CloseDevice();
  EXPECT_EQ(sys->closes, 3);

  sys->open_error = ENXIO;  // no disk
  EXPECT_EQ(dev.OpenDevice(), ERR_NOT_READY);
  sys->open_error = EBUSY;
  EXPECT_EQ(dev.OpenDevice(), ERR_DRIVE_LOCKED);
}

TEST(LinuxFloppy, FormatBuildsGeometryAndTrackRequests) {
  auto sys = std::make_shared<FakeCalls>();
  CLinuxFloppy dev("/dev/fd1", sys);
  ASSERT_EQ(dev.OpenDevice(), 0u);
  sys->calls.clear();
  ASSERT_EQ(dev.FormatCylinder(7, MediaKind::F3_1Pt2_512), 0u);
  EXPECT_EQ(sys->Requests(),
            (std::vector<unsigned long>{FDSETPRM, FDFMTBEG, FDFMTTRK, FDFMTTRK, FDFMTEND}));
  EXPECT_EQ(sys->calls[0].geometry.sect, 15u);
  EXPECT_EQ(sys->calls[0].geometry.rate, 0u);
  EXPECT_EQ(sys->calls[2].track.head, 0u);
  EXPECT_EQ(sys->calls[3].track.head, 1u);
  EXPECT_EQ(sys->calls[2].track.track, 7u);
  EXPECT_EQ(sys->calls[3].track.device, 1u);

  // The geometry is set once; the next cylinder only formats.
  sys->calls.clear();
  ASSERT_EQ(dev.FormatCylinder(8, MediaKind::F3_1Pt2_512), 0u);
  EXPECT_EQ(sys->calls.size(), 4u);

  // 1.44 MB formats; an unknown code makes no request at all.
  sys->calls.clear();
  EXPECT_EQ(dev.FormatCylinder(0, MediaKind::F3_1Pt44_512), 0u);
  EXPECT_EQ(sys->calls[0].geometry.sect, 18u);
  sys->calls.clear();
  EXPECT_EQ(dev.FormatCylinder(0, static_cast<MediaKind>(3)), ERR_UNRECOGNIZED_MEDIA);
  EXPECT_TRUE(sys->calls.empty());

  // A failed track still ends the format request, and its error is mapped.
  sys->ioctl_errors[FDFMTTRK] = EIO;
  sys->calls.clear();
  EXPECT_EQ(dev.FormatCylinder(9, MediaKind::F3_1Pt2_512), ERR_SECTOR_NOT_FOUND);
  EXPECT_EQ(sys->calls.back().request, static_cast<unsigned long>(FDFMTEND));
  sys->ioctl_errors.clear();
  sys->ioctl_errors[FDFMTBEG] = ENODEV;
  EXPECT_EQ(dev.FormatCylinder(9, MediaKind::F3_1Pt2_512), ERR_NOT_READY);
}

TEST(LinuxFloppy, SetMediaTypeAndDescribeDrive) {
  auto sys = std::make_shared<FakeCalls>();
  sys->drive_name = "h1200";
  auto dev = std::make_shared<CLinuxFloppy>("/dev/fd0", sys);
  CFloppyDrive drive("a:", dev);
  // The description is asked with an ioctl-only open (the names and forms
  // of each drive type: DescribeFloppyDevice in tests/app).
  drive.DescribeDrive();
  EXPECT_EQ(sys->open_flags.back() & O_ACCMODE, 3);

  ASSERT_EQ(drive.OpenDevice(), 0u);
  sys->calls.clear();
  ASSERT_EQ(drive.SetMediaType(MediaKind::F5_720_512), 0u);
  ASSERT_EQ(sys->calls.size(), 1u);
  EXPECT_EQ(sys->calls[0].geometry.gap, 0x23);
  EXPECT_EQ(sys->calls[0].geometry.rate, 0x01);
  drive.CloseDevice();

  sys->drive_name = "(null)";
  sys->cmos = 4;
  EXPECT_EQ(drive.DescribeDrive().name, "3\u00BD Floppy (A:)");
}

TEST(LinuxFloppy, PlainBlockDeviceReadsButRefusesToFormat) {
  auto sys = std::make_shared<FakeCalls>();
  sys->drive_name.clear();
  CLinuxFloppy dev("/dev/sdb", sys);
  ASSERT_EQ(dev.OpenDevice(), 0u);
  std::vector<std::uint8_t> block(512);
  EXPECT_EQ(dev.ReadSectors(2000, 1, block.data()), 0u);
  EXPECT_EQ(block[0], 0x5A);
  EXPECT_EQ(dev.WriteSectors(2000, 1, block.data()), 0u);
  EXPECT_EQ(dev.FormatCylinder(0, MediaKind::F3_720_512), ERR_INVALID_FUNCTION);
  EXPECT_NE(dev.FormatRefusal().find("cannot format"), std::string::npos);
  // Its geometry is the firmware's: 18 sectors fits, 15 does not.
  EXPECT_EQ(dev.SetMediaType(MediaKind::F3_1Pt44_512), 0u);
  EXPECT_EQ(dev.SetMediaType(MediaKind::F3_1Pt2_512), ERR_UNRECOGNIZED_MEDIA);
  std::vector<MediaKind> types;
  ASSERT_EQ(dev.GetMediaTypes(types), 0u);
  EXPECT_EQ(types.front(), MediaKind::F3_1Pt44_512);
  // Reading past the medium is a device error.
  EXPECT_EQ(dev.ReadSectors(2880, 1, block.data()), ERR_SECTOR_NOT_FOUND);
}

}  // namespace
}  // namespace kelvo::test
