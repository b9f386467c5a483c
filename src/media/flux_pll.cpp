#include "media/flux_pll.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kelvo {
namespace {

constexpr std::size_t kSampleTransitions = 2048;
constexpr std::size_t kMinSample = 64;
// Loop gains: the share of each timing error taken as a change of speed and
// as a shift of phase. Speed changes over thousands of cells, jitter from one
// transition to the next, so the speed follows slowly and the phase quickly.
constexpr double kSpeedGain = 0.05;
constexpr double kPhaseGain = 0.65;
// How far the cell may stray from the first estimate (the disk's speed does
// not change by a third).
constexpr double kClockRange = 0.3;
// Longer intervals are areas without flux: counted as cells, but no
// evidence of the speed.
constexpr std::uint32_t kMaxLockedCells = 16;
constexpr auto kReciprocal = [] {
  std::array<double, kMaxLockedCells + 1> r{};
  for (std::uint32_t n = 1; n <= kMaxLockedCells; ++n) r[n] = 1.0 / n;
  return r;
}();

}  // namespace

double EstimateCellTicks(const FluxRun& flux) {
  std::vector<std::uint32_t> sample;
  sample.reserve(kSampleTransitions);
  const std::size_t entries = flux.Entries();
  for (std::size_t i = 0; i < entries && sample.size() < kSampleTransitions; ++i) {
    const std::uint32_t t = flux.At(i);
    if (t != 0) sample.push_back(t);
  }
  if (sample.size() < kMinSample) return 0;
  // Intervals of two cells make up a third or more of MFM flux (all of the
  // sync bytes, a third of the gap bytes), so the tenth percentile lies in
  // that class; its mean, halved, is the cell.
  auto tenth = sample.begin() + std::ptrdiff_t(sample.size() / 10);
  std::nth_element(sample.begin(), tenth, sample.end());
  const double low = *tenth * 0.8, high = *tenth * 1.25;
  double sum = 0;
  std::size_t n = 0;
  for (std::uint32_t t : sample) {
    if (t >= low && t <= high) {
      sum += t;
      ++n;
    }
  }
  return n ? sum / double(n) / 2.0 : 0;
}

void FluxToCells(const FluxRun& flux, double cell_ticks, std::size_t max_cells, CellStream& out) {
  if (cell_ticks <= 0) return;
  const double lowest = cell_ticks * (1 - kClockRange), highest = cell_ticks * (1 + kClockRange);
  const std::size_t start = out.count;
  const std::size_t limit = start + max_cells;
  out.bits.resize((limit + 8) / 8, 0);
  std::uint8_t* bits = out.bits.data();
  std::size_t pos = start;
  double clock = cell_ticks, carry = 0;
  // 1 / clock, kept by one Newton step per change (the clock moves by a few
  // percent at most), so no division stands in the loop's chain.
  double inverse = 1.0 / cell_ticks;
  std::uint64_t overflow = 0;
  const std::size_t entries = flux.Entries();
  const std::uint8_t* p = flux.be16.data();
  for (std::size_t i = 0; i < entries; ++i, p += 2) {
    const std::uint32_t v = std::uint32_t(p[0] << 8) | p[1];
    if (v == 0) {
      overflow += 65536;
      continue;
    }
    const double elapsed = carry + double(overflow + v);
    overflow = 0;
    double cells = elapsed * inverse + 0.5;
    if (cells < 1) cells = 1;
    if (cells > double(limit - pos)) break;
    const std::uint32_t n = static_cast<std::uint32_t>(cells);
    const double error = elapsed - n * clock;
    if (n <= kMaxLockedCells) {
      clock = std::clamp(clock + error * kSpeedGain * kReciprocal[n], lowest, highest);
      inverse *= 2 - clock * inverse;
      carry = error * (1 - kPhaseGain);
    } else {
      carry = 0;
    }
    pos += n;  // n - 1 cells without a transition, then the transition
    bits[(pos - 1) >> 3] |= std::uint8_t(0x80 >> ((pos - 1) & 7));
  }
  out.count = pos;
  out.bits.resize((pos + 7) / 8);
}

}  // namespace kelvo
