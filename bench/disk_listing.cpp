// Listing a full 1.2 MB disk image: every directory slot of all 35 types in
// use (1,723 files). Target: under 50 microseconds per listing.
#include <benchmark/benchmark.h>

#include <string>

#include "diskfs/listing.h"
#include "diskfs/disk_image_doc.h"
#include "support/diskfs_image_builder.h"

namespace {

kelvo::CDiskImageDoc& FullImage() {
  static kelvo::CDiskImageDoc doc = [] {
    kelvo::test::ImageBuilder b(true, 2340);
    int n = 0;
    for (std::uint16_t lbn = 5; lbn < 80; ++lbn) {
      for (int slot = (lbn == 5 ? 2 : 0); slot < 23; ++slot, ++n) {
        std::string name = "F";
        name += std::to_string(n);
        b.PutEntry(lbn, slot, name, {0, 512, 0, 1, 0, 1, 0, 0, static_cast<std::uint16_t>(80 + n)});
      }
    }
    kelvo::CDiskImageDoc d;
    if (d.LoadImage(b.bytes()) != 0) std::abort();
    return d;
  }();
  return doc;
}

void BM_ListFullImage(benchmark::State& state) {
  kelvo::CDiskImageDoc& doc = FullImage();
  kelvo::DiskListing listing;
  for (auto _ : state) {
    if (kelvo::ListFiles(doc, listing, doc.BlockCount()) != 0) state.SkipWithError("listing failed");
    benchmark::DoNotOptimize(listing.files.data());
  }
  state.counters["files"] = static_cast<double>(listing.files.size());
}
BENCHMARK(BM_ListFullImage)->Unit(benchmark::kMicrosecond);

}  // namespace
