#include "media/scp_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "media/flux_pll.h"
#include "media/media_kind.h"

namespace kelvo {
namespace {

constexpr std::size_t kHeaderSize = 0x10;
// The table of the current format revision has 168 entries (an older one had
// 164; its first track header then reads as entries that lead nowhere and
// are skipped because they do not point at a "TRK" header).
constexpr std::size_t kTrackEntries = 168;
// The imagers capture up to 5 revolutions; a few more are read if present.
constexpr int kMaxRevolutions = 8;
// A revolution of the printer's forms is at most 200,000 cells.
constexpr std::size_t kMaxCellsPerRevolution = std::size_t(1) << 20;
constexpr double kTickNs = 25.0;

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

// `value` when it lies within `tolerance` of one of `known`, else 0.
int Nearest(double value, std::initializer_list<int> known, double tolerance) {
  for (int k : known)
    if (std::fabs(value - k) <= k * tolerance) return k;
  return 0;
}

}  // namespace

bool LooksLikeScp(std::span<const std::uint8_t> data) {
  return data.size() >= 3 && std::memcmp(data.data(), "SCP", 3) == 0;
}

ErrorCode ParseScp(std::span<const std::uint8_t> data, TrackDisk& out) {
  try {
    if (!LooksLikeScp(data) || data.size() < kHeaderSize) return ERR_BAD_IMAGE;
    const int revolutions = std::min<int>(data[0x05], kMaxRevolutions);
    // Ticks are 25 ns times (byte 0x0B + 1); files without the field hold 0.
    const double tick_ns = kTickNs * (data[0x0B] + 1);
    // Hostile offsets may point many revolutions at the same flux: the work
    // is held to a few times what the file could honestly hold.
    std::uint64_t budget = std::uint64_t(data.size()) * 16 + (std::uint64_t(1) << 22);

    int cylinders = 0;
    for (std::size_t t = 0; t < kTrackEntries; ++t) {
      const std::size_t entry = kHeaderSize + t * 4;
      if (entry + 4 <= data.size() && Le32(&data[entry]) != 0)
        cylinders = std::max(cylinders, int(t / kHeads) + 1);
    }
    CTrackSectorCollector collector(cylinders);
    std::vector<MfmSector> sectors;
    CellStream cells;
    double first_cell_ns = 0, first_revolution_ns = 0;
    // Tracks are numbered cylinder * 2 + head; single-sided captures of
    // other layouts are not the printer's double-sided disks.
    for (std::size_t t = 0; t < kTrackEntries && budget > 0; ++t) {
      const std::size_t entry = kHeaderSize + t * 4;
      if (entry + 4 > data.size()) break;
      const std::size_t track = Le32(&data[entry]);
      if (track == 0 || track + 4 > data.size() || std::memcmp(&data[track], "TRK", 3) != 0) continue;
      const int cyl = int(t / kHeads), head = int(t % kHeads);
      for (int r = 0; r < revolutions && budget > 0; ++r) {
        const std::size_t desc = track + 4 + std::size_t(r) * 12;
        if (desc + 12 > data.size()) break;
        const std::uint32_t index_time = Le32(&data[desc]);
        const std::size_t start = track + Le32(&data[desc + 8]);
        if (start >= data.size()) continue;
        std::size_t entries = std::min<std::size_t>(Le32(&data[desc + 4]), (data.size() - start) / 2);
        entries = std::size_t(std::min<std::uint64_t>(entries, budget));
        budget -= entries;
        const FluxRun run{data.subspan(start, entries * 2)};
        const double cell = EstimateCellTicks(run);
        if (cell <= 0) continue;
        cells.bits.clear();
        cells.count = 0;
        FluxToCells(run, cell, std::size_t(std::min<std::uint64_t>(kMaxCellsPerRevolution, budget)),
                    cells);
        budget -= std::min<std::uint64_t>(budget, cells.count);
        sectors.clear();
        DecodeMfmTrack(cells.bits.data(), cells.count, sectors);
        collector.Take(cyl, head, r, sectors);
        if (first_cell_ns == 0 && !sectors.empty()) {
          first_cell_ns = cell * tick_ns;
          first_revolution_ns = index_time * tick_ns;
        }
      }
    }
    TrackDisk disk;
    if (ErrorCode err = collector.Finish(disk)) return err;
    if (first_cell_ns > 0) disk.rate_kbps = Nearest(1e6 / (2 * first_cell_ns), {250, 300, 500, 1000}, 0.15);
    if (first_revolution_ns > 0) disk.rpm = Nearest(60e9 / first_revolution_ns, {300, 360}, 0.08);
    out = std::move(disk);
    return ERR_OK;
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

}  // namespace kelvo
