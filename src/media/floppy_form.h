// The recording forms of the printer's floppies as a PC floppy controller
// writes them: 80 cylinders, 2 heads, 512-byte MFM sectors numbered from 1,
// at one of four combinations of sectors per track, data rate and spindle
// speed. Track images (.HFE, .SCP) and emulator descriptions (IMG.CFG) need
// the rate and speed, which a block image does not record.
#pragma once

#include <cstdint>

#include "media/media_kind.h"

namespace kelvo {

struct FloppyForm {
  MediaKind kind = MediaKind::Unknown;
  int sectors = 0;     // per track
  int rate_kbps = 0;   // data rate; one data bit is two MFM cells
  int rpm = 0;
  int gap3 = 0;        // gap after each sector's data when formatting
  bool five_inch = false;
};

// Gap 3 is the format gap the Linux floppy driver uses for each form (0x54 for
// 15 sectors, 0x50 for 9, as the PC/AT BIOS does). Emulator defaults use 84
// for 9 sectors as well; both fit, and the driver's value matches the disks
// this program formats itself.
inline constexpr FloppyForm kFloppyForms[] = {
    {MediaKind::F5_1Pt2_512, 15, 500, 360, 0x54, true},
    {MediaKind::F3_1Pt2_512, 15, 500, 300, 0x54, false},
    {MediaKind::F3_720_512, 9, 250, 300, 0x50, false},
    {MediaKind::F5_720_512, 9, 300, 360, 0x50, true},
};

// The form of a media kind; nullptr for kinds that are not the printer's.
constexpr const FloppyForm* FormOf(MediaKind kind) {
  for (const FloppyForm& f : kFloppyForms)
    if (f.kind == kind) return &f;
  return nullptr;
}

// The form of `sectors` per track on a 5.25-inch or 3.5-inch drive; nullptr
// when the count is not 9 or 15.
constexpr const FloppyForm* FormFor(int sectors, bool five_inch) {
  for (const FloppyForm& f : kFloppyForms)
    if (f.sectors == sectors && f.five_inch == five_inch) return &f;
  return nullptr;
}

// MFM cells in one revolution: two per data bit at the data rate.
constexpr std::uint32_t TrackCells(int rate_kbps, int rpm) {
  return rpm > 0 ? static_cast<std::uint32_t>(std::uint64_t(rate_kbps) * 2000 * 60 / unsigned(rpm))
                 : 0;
}

}  // namespace kelvo
