// Opening a 64 MB task file and producing one line of its dump.
#include <benchmark/benchmark.h>

#include <fstream>
#include <random>

#include "support/test_support.h"
#include "viewers/task_doc.h"

namespace {

constexpr std::size_t kFileSize = 64u << 20;

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * 4096;
}

void BM_OpenTaskFileAndShowOneLine(benchmark::State& state) {
  kelvo::test::TempDir dir;
  const auto path = dir / "BIG.TSK";
  {
    std::string bytes(kFileSize, '\0');
    std::mt19937 rng(1);
    for (char& c : bytes) c = static_cast<char>(rng());
    kelvo::test::WriteFileBytes(path, bytes);
  }
  double ratio = 0;
  std::size_t line = 0;
  for (auto _ : state) {
    const long before = ResidentBytes();
    kelvo::CTaskDoc doc;
    if (!doc.Load(path.string())) state.SkipWithError("load failed");
    line = (line + 1234567) % doc.LineCount();
    benchmark::DoNotOptimize(doc.Line(line));
    ratio = static_cast<double>(ResidentBytes() - before) / kFileSize;
  }
  state.counters["memory_per_file_byte"] = ratio;
}
BENCHMARK(BM_OpenTaskFileAndShowOneLine)->Unit(benchmark::kMillisecond);

}  // namespace
