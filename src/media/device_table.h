// The device table: one entry per drive letter A to Z (0-25) and per tape
// drive Tape0 to Tape3 (26-29), filled at start-up.
#pragma once

#include <array>
#include <string>

namespace kelvo {

inline constexpr int kDeviceTableSize = 30;
inline constexpr int kFirstTapeEntry = 26;
inline constexpr int kTapeDriveCount = 4;

// Device types, numbered as the system's drive types; 7 is a tape drive.
inline constexpr int kDeviceRemovable = 2;
inline constexpr int kDeviceFixed = 3;
inline constexpr int kDeviceRemote = 4;
inline constexpr int kDeviceCdRom = 5;
inline constexpr int kDeviceRamDisk = 6;
inline constexpr int kDeviceTape = 7;

// Drive forms of a floppy drive.
inline constexpr int kDriveFormNoPrinterFormat = 0;  // 5.25-inch without the 720 KB format
inline constexpr int kDriveForm525 = 1;              // 5.25-inch with the 720 KB format
inline constexpr int kDriveForm35 = 2;               // 3.5-inch

struct DeviceEntry {
  bool present = false;
  int type = 0;
  int drive_form = 0;        // floppies only
  std::string display_name;  // "3½ Floppy (A:)", "Tape0"
};

using DeviceTable = std::array<DeviceEntry, kDeviceTableSize>;

// The devices bound to floppy drives A: and B: and to Tape0..Tape3 for this
// run (device strings: /dev/fd0, emu:PATH[,form=...], /dev/nst0, FILE.tap ...).
struct DeviceBindings {
  std::string floppy[2];
  std::string tape[kTapeDriveCount];
};

}  // namespace kelvo
