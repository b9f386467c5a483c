// Decoding a two-revolution flux image (.SCP) of a full 1.2 MB disk (80
// cylinders, 15 sectors per track, 360 rpm; 10% speed drift and jitter) into
// its blocks. Target: under one second per decode. Every revolution is
// decoded; in the second case one sector of every track is damaged in the
// first revolution and recovered from the second.
#include <benchmark/benchmark.h>

#include <vector>

#include "media/scp_image.h"
#include "support/flux_image_builder.h"

namespace {

std::vector<std::uint8_t> FullDiskFlux(bool damaged) {
  const kelvo::FloppyForm& form = *kelvo::FormOf(kelvo::MediaKind::F5_1Pt2_512);
  std::vector<std::uint8_t> disk(std::size_t(80) * 2 * form.sectors * 512);
  for (std::size_t i = 0; i < disk.size(); ++i) disk[i] = std::uint8_t(i * 31 + i / 512);
  kelvo::test::FluxOptions options;
  if (damaged)
    for (int cyl = 0; cyl < 80; ++cyl)
      for (int head = 0; head < 2; ++head) options.damage.push_back({cyl, head, 1 + cyl % 15, 0});
  return kelvo::test::BuildScpImage(disk, form, options);
}

void Decode(benchmark::State& state, bool damaged) {
  const std::vector<std::uint8_t> scp = FullDiskFlux(damaged);
  kelvo::TrackDisk disk;
  for (auto _ : state) {
    if (kelvo::ParseScp(scp, disk) != kelvo::ERR_OK) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(disk.bytes.data());
  }
  state.counters["good"] = disk.report.good;
  state.counters["recovered"] = disk.report.recovered;
  state.counters["missing"] = disk.report.missing;
  state.counters["MB"] = double(scp.size()) / 1e6;
}

void BM_DecodeFullDiskFlux(benchmark::State& state) { Decode(state, false); }
void BM_DecodeFullDiskFluxDamagedFirstRevolution(benchmark::State& state) { Decode(state, true); }
BENCHMARK(BM_DecodeFullDiskFlux)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeFullDiskFluxDamagedFirstRevolution)->Unit(benchmark::kMillisecond);

}  // namespace
