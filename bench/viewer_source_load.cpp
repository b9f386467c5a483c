// Loading a source file of 100,000 lines, as PC text and as records.
#include <benchmark/benchmark.h>

#include "support/test_support.h"
#include "viewers/source_doc.h"

namespace {

constexpr int kLines = 100000;

std::string TextSource() {
  std::string text;
  for (int i = 0; i < kLines; ++i) {
    text += "LBL" + std::to_string(i % 1000) + ": MOV R1,R2 ; step " + std::to_string(i) + "\n";
  }
  return text;
}

std::string RecordSource() {
  std::string out;
  for (int i = 0; i < kLines; ++i) {
    std::string r = "  DEFINE FIELD" + std::to_string(i) + " /* field */";
    r.resize(74, ' ');
    char seq[8];
    std::snprintf(seq, sizeof seq, "%06d", (i * 10) % 1000000);
    out += r + seq;
    if (i % 6 == 5) out += std::string(32, '\0');
  }
  return out;
}

void Load(benchmark::State& state, const std::string& name, const std::string& bytes) {
  kelvo::test::TempDir dir;
  const auto path = dir / name;
  kelvo::test::WriteFileBytes(path, bytes);
  for (auto _ : state) {
    kelvo::CSourceDoc doc;
    if (!doc.Load(path.string()) || doc.LineCount() != kLines) state.SkipWithError("load failed");
  }
}

void BM_LoadTextSource100kLines(benchmark::State& state) { Load(state, "BIG.PCH", TextSource()); }
void BM_LoadRecordSource100kLines(benchmark::State& state) {
  Load(state, "BIG.FSL", RecordSource());
}
BENCHMARK(BM_LoadTextSource100kLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRecordSource100kLines)->Unit(benchmark::kMillisecond);

}  // namespace
