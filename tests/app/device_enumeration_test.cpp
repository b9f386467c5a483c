#include <gtest/gtest.h>

#include "app/device_enumeration.h"
#include "app/floppy_description.h"
#include "support/floppy_fake_calls.h"
#include "support/test_support.h"

namespace kelvo {
namespace {

using test::TempDir;
using test::WriteFileBytes;

TEST(DescribeFloppyDevice, EmulatedDrivesAndDevicePaths) {
  TempDir dir;
  WriteFileBytes(dir / "usb-floppy", "");
  const struct {
    std::string device;
    bool exists, emulated;
    int form;
    std::string name;
  } rows[] = {
      {"emu:/nowhere/a.img", true, true, kDriveForm35, "3\u00bd Floppy (B:)"},
      {"emu:/nowhere/b.img,wp,form=5.25", true, true, kDriveForm525, "5\u00bc Floppy (B:)"},
      {"emu:,form=5.25", false, true, kDriveForm525, ""},
      {(dir / "usb-floppy").string(), true, false, kDriveForm35, "3\u00bd Floppy (B:)"},
      {(dir / "fd7").string(), false, false, 0, ""},
      {"", false, false, 0, ""},
  };
  for (const auto& r : rows) {
    const FloppyDescription d = DescribeFloppyDevice(r.device, 'B');
    SCOPED_TRACE(r.device);
    EXPECT_EQ(d.exists, r.exists);
    if (!r.exists) continue;
    EXPECT_EQ(d.emulated, r.emulated);
    EXPECT_EQ(d.drive_form, r.form);
    EXPECT_EQ(d.display_name, r.name);
  }
}

TEST(DescribeFloppyDevice, ARealDriveIsAskedWhatItIs) {
  struct Row {
    std::string drive_name;  // FDGETDRVTYP's answer; empty: no floppy requests
    int open_error;
    bool present;
    int form;
    std::string name;
  } rows[] = {
      {"h1200", 0, true, kDriveForm525, "5\u00bc Floppy (A:)"},
      {"H1440", 0, true, kDriveForm35, "3\u00bd Floppy (A:)"},
      {"d360", 0, false, kDriveFormNoPrinterFormat, "(A:)"},  // no 720 KB format
      {"", 0, true, kDriveForm35, "3\u00bd Floppy (A:)"},      // a USB floppy drive
      {"h1200", ENXIO, false, kDriveFormNoPrinterFormat, "(A:)"},
  };
  for (const Row& r : rows) {
    auto calls = std::make_shared<test::FakeCalls>();
    calls->drive_name = r.drive_name;
    calls->any_open_error = r.open_error;
    const FloppyDescription d = DescribeFloppyDevice("/dev/fd0", 'A', calls);
    SCOPED_TRACE(r.drive_name + " " + std::to_string(r.open_error));
    EXPECT_EQ(d.drive_form, r.form);
    EXPECT_EQ(d.display_name, r.name);
    EXPECT_EQ(d.exists, r.open_error == 0);
    DeviceBindings b;
    b.floppy[0] = b.floppy[1] = "/dev/fd0";
    DeviceTable table;
    EnumerateDevices(b, table, calls);
    EXPECT_EQ(table[1].present, r.present);
    EXPECT_EQ(table[1].type, kDeviceRemovable);
  }
}

TEST(EnumerateDevices, TapesFromTheirBindings) {
  TempDir dir;
  WriteFileBytes(dir / "first.tap", "");
  WriteFileBytes(dir / "second.tap", "");
  std::filesystem::create_directory(dir / "folder.tap");
  DeviceBindings b;
  b.floppy[0] = b.floppy[1] = (dir / "none").string();
  b.tape[0] = (dir / "first.tap").string();
  b.tape[1] = (dir / "missing.tap").string();
  b.tape[2] = (dir / "missing.tap").string() + "," + (dir / "second.tap").string();
  b.tape[3] = (dir / "folder.tap").string();
  DeviceTable table;
  table[5].present = true;  // stale content is replaced
  EXPECT_TRUE(EnumerateDevices(b, table));
  for (int i = 0; i < kFirstTapeEntry; ++i) EXPECT_FALSE(table[i].present) << i;
  // Only the first volume of a list counts; a folder is no tape image.
  EXPECT_EQ((std::vector<bool>{table[26].present, table[27].present, table[28].present, table[29].present}),
            (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(FirstTapeVolume("a.tap,b.tap"), "a.tap");
  b.tape[0] = b.tape[2] = b.tape[3] = (dir / "none").string();
  EXPECT_FALSE(EnumerateDevices(b, table));
  for (const DeviceEntry& e : table) EXPECT_FALSE(e.present);
}

TEST(IsFloppyDriverLoaded, LooksForTheDriverOrAnEmulatedDrive) {
  TempDir root;
  DeviceBindings b;
  b.floppy[0] = "/dev/fd0";
  b.floppy[1] = "/dev/fd1";
  EXPECT_FALSE(IsFloppyDriverLoaded(b, root.path()));

  std::filesystem::create_directories(root / "dev");
  WriteFileBytes(root / "dev/fd1", "");
  EXPECT_TRUE(IsFloppyDriverLoaded(b, root.path()));
  b.floppy[1] = "/dev/sdb";
  EXPECT_FALSE(IsFloppyDriverLoaded(b, root.path()));

  WriteFileBytes(root / "dev/fd0", "");
  EXPECT_TRUE(IsFloppyDriverLoaded(b, root.path()));
  std::filesystem::remove(root / "dev/fd0");

  std::filesystem::create_directories(root / "sys/module/floppy");
  EXPECT_TRUE(IsFloppyDriverLoaded(b, root.path()));
  std::filesystem::remove_all(root / "sys");

  b.floppy[1] = "emu:/nowhere/b.img";
  EXPECT_TRUE(IsFloppyDriverLoaded(b, root.path()));
}

}  // namespace
}  // namespace kelvo
