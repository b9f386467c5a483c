// Whole-disk work on an emulated 1.2 MB drive: a full format with its file
// system, and a full disk copied to an image file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "diskfs/copy_disk.h"
#include "diskfs/format.h"
#include "media/emulated_floppy.h"
#include "support/floppy_media.h"
#include "support/floppy_progress.h"
#include "support/test_support.h"

namespace {

using namespace kelvo;

std::shared_ptr<CEmulatedFloppy> Drive(const std::filesystem::path& medium) {
  return test::MakeEmulatedFloppy(medium, /*five_inch=*/true);
}

void BM_FullFormatOnePointTwoMegabytes(benchmark::State& state) {
  test::TempDir dir;
  for (auto _ : state) {
    std::filesystem::remove(dir / "m.img");
    CFloppyDrive drive("A:", Drive(dir / "m.img"));
    test::HookedInteraction ui;
    test::RecordingProgress progress;
    FormatResult r = FormatDisk(drive, {MediaKind::F5_1Pt2_512, false, "BENCH"}, ui, progress);
    if (r.code != ERR_OK) state.SkipWithError("format failed");
  }
}
BENCHMARK(BM_FullFormatOnePointTwoMegabytes)->Unit(benchmark::kMillisecond);

void BM_CopyFullDiskToImage(benchmark::State& state) {
  test::TempDir dir;
  test::WriteKelvoMedium(dir / "src.img", 1, "FULL", 3);  // every data block written
  for (auto _ : state) {
    CFloppyDrive drive("A:", Drive(dir / "src.img"));
    test::HookedInteraction ui;
    test::RecordingProgress progress;
    if (CopyDisk({&drive, {}}, {nullptr, dir / "copy.kdi"}, ui, progress) != ERR_OK) {
      state.SkipWithError("copy failed");
    }
  }
}
BENCHMARK(BM_CopyFullDiskToImage)->Unit(benchmark::kMillisecond);

}  // namespace
