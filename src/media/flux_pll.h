// Flux transitions to MFM cells: a software phase-locked loop that estimates
// the cell length from the flux itself and follows the disk's speed as it
// drifts through a revolution.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "media/mfm_codec.h"

namespace kelvo {

// The flux of one revolution as stored in a flux image: 16-bit big-endian
// intervals in ticks since the previous transition, 0 adding 65536 ticks to
// the next interval.
struct FluxRun {
  std::span<const std::uint8_t> be16;

  std::size_t Entries() const { return be16.size() / 2; }
  std::uint32_t At(std::size_t i) const { return std::uint32_t(be16[2 * i] << 8) | be16[2 * i + 1]; }
};

// The length of one cell in ticks, from the shortest interval class (two
// cells) among the first transitions of `flux`; 0 when there are too few.
double EstimateCellTicks(const FluxRun& flux);

// Appends the cells of `flux` to `out`, starting from a cell of `cell_ticks`
// ticks, stopping after `max_cells` cells.
void FluxToCells(const FluxRun& flux, double cell_ticks, std::size_t max_cells, CellStream& out);

}  // namespace kelvo
