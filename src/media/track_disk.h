// A printer disk recovered from track images (.HFE bit cells, .SCP flux):
// the sectors found on each track gathered into 512-byte blocks by LBN, with
// an account of what was good, recovered from a later revolution, or lost.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "media/floppy_form.h"
#include "media/mfm_codec.h"
#include "media/sector_source.h"

namespace kelvo {

// Cylinders a track image may hold for the printer's disks (80 and a few
// spare); tracks beyond are ignored.
inline constexpr int kMaxImageCylinders = 84;

struct TrackDiskReport {
  std::uint32_t good = 0;       // sectors whose first copy read well
  std::uint32_t recovered = 0;  // sectors read well only in a later revolution
  std::uint32_t missing = 0;    // sectors with no good copy
  std::vector<std::uint32_t> missing_lbns;
};

struct TrackDisk {
  std::vector<std::uint8_t> bytes;  // whole blocks in LBN order
  std::vector<bool> unreadable;     // per block: no good copy (bytes zero)
  int cylinders = 0;
  int sectors = 0;                  // per track, from the sector IDs found
  int rate_kbps = 0;                // as recorded (0: unknown)
  int rpm = 0;
  TrackDiskReport report;
};

// Collects the sectors of every track, pass by pass (a pass is one revolution
// of a flux image; a bit-cell image has one), keeping for each sector the
// first copy whose CRCs hold.
class CTrackSectorCollector {
 public:
  explicit CTrackSectorCollector(int cylinders);

  // The sectors decoded from track (cyl, head) in pass `pass`. Sectors whose
  // ID names another cylinder or head, another size, or number 0 or above
  // the largest the collector keeps are not the track's own and are ignored.
  void Take(int cyl, int head, int pass, const std::vector<MfmSector>& sectors);

  // Lays the sectors out as blocks: sectors per track is the highest sector
  // number seen with a good ID. ERR_BAD_IMAGE when no sector was found.
  ErrorCode Finish(TrackDisk& out) const;

 private:
  static constexpr int kMaxSectors = 32;
  struct Slot {
    std::int8_t pass = -1;  // -1: no good copy yet
    std::array<std::uint8_t, kBlockSize> data{};
  };
  int cylinders_;
  int highest_id_ = 0;
  std::vector<Slot> slots_;  // [cyl][head][id - 1]
};

}  // namespace kelvo
