// Track images made from a disk for the track image tests, the fuzz seeds
// and the benchmarks: flux images (.SCP) with the speed drift, timing jitter
// and damage of real captures, and version 3 emulator images (.HFE) made
// from version 1 ones.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "media/floppy_form.h"

namespace kelvo::test {

struct FluxDamage {
  int cyl = 0, head = 0, sector = 1;
  int revolution = 0;  // -1: every revolution
};

struct FluxOptions {
  int cylinders = 80;
  int revolutions = 2;
  double drift = 0.10;   // the speed swings by this share either way
  double jitter = 0.05;  // each transition moves by up to this share of a cell
  std::vector<FluxDamage> damage{};  // four data bytes of the sector read inverted
  std::uint32_t seed = 1;
};

// An SCP file (25 ns ticks, index-cued) of `blocks` recorded in `form`.
std::vector<std::uint8_t> BuildScpImage(std::span<const std::uint8_t> blocks, const FloppyForm& form,
                                        const FluxOptions& options);

// The version 3 form of a version 1 HFE file: every track begins with the
// index and bit rate opcodes, holds a NOP and a SKIPBITS in the first
// sector's data (shifting the rest of the cells off byte boundaries), and
// ends with weak cells.
std::vector<std::uint8_t> HfeVersion3(std::span<const std::uint8_t> v1);

}  // namespace kelvo::test
