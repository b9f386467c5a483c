// Source conversion speed: 64 MB of PC text to printer records and back.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "filetypes/source_conversion.h"
#include "filetypes/stored_content.h"

namespace {

constexpr std::size_t kTextBytes = 64u << 20;

// Printable lines of 0 to 74 characters with CR LF, about 64 MB.
const std::vector<std::uint8_t>& SampleText() {
  static const std::vector<std::uint8_t> text = [] {
    std::vector<std::uint8_t> t;
    t.reserve(kTextBytes + 128);
    std::uint32_t state = 12345;
    while (t.size() < kTextBytes) {
      state = state * 1664525u + 1013904223u;
      const std::size_t length = (state >> 8) % 75;
      for (std::size_t i = 0; i < length; ++i) {
        state = state * 1664525u + 1013904223u;
        t.push_back(std::uint8_t(0x20 + (state >> 9) % 95));
      }
      t.push_back('\r');
      t.push_back('\n');
    }
    return t;
  }();
  return text;
}

// Counts what it is given, as a stand-in for a file or tape.
class CountingSink final : public kelvo::CByteSink {
 public:
  kelvo::ErrorCode Write(std::span<const std::uint8_t> bytes) override {
    count += bytes.size();
    last = bytes.back();
    return kelvo::ERR_OK;
  }
  std::size_t count = 0;
  std::uint8_t last = 0;
};

void BM_TextToRecords(benchmark::State& state) {
  const std::vector<std::uint8_t>& text = SampleText();
  for (auto _ : state) {
    kelvo::StoredContent content;
    if (kelvo::ConvertTextToRecords(text, kelvo::kImageLineNumbering, content) != kelvo::ERR_OK) {
      state.SkipWithError("conversion failed");
      break;
    }
    benchmark::DoNotOptimize(content.blocks.data());
    state.counters["records"] = double(content.record_count);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_TextToRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of the in-memory conversion: writing the same amount of fresh
// memory (its first touch costs a page fault per page).
void BM_FreshMemoryFloor(benchmark::State& state) {
  kelvo::StoredContent content;
  if (kelvo::ConvertTextToRecords(SampleText(), kelvo::kImageLineNumbering, content) !=
      kelvo::ERR_OK) {
    state.SkipWithError("conversion failed");
    return;
  }
  const std::size_t recordBytes = content.blocks.size();
  for (auto _ : state) {
    std::vector<std::uint8_t> memory(recordBytes, 0x20);
    benchmark::DoNotOptimize(memory.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(SampleText().size()));
}
BENCHMARK(BM_FreshMemoryFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same conversion streamed through the encoder's fixed buffer to a sink
// (as a tape or file writer uses it): no memory grows with the text.
void BM_TextToRecordsStreamed(benchmark::State& state) {
  const std::vector<std::uint8_t>& text = SampleText();
  for (auto _ : state) {
    CountingSink sink;
    kelvo::CTextRecordEncoder encoder(kelvo::kImageLineNumbering, sink);
    if (encoder.Append(text) != kelvo::ERR_OK || encoder.Finish() != kelvo::ERR_OK) {
      state.SkipWithError("conversion failed");
      break;
    }
    benchmark::DoNotOptimize(sink.count);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_TextToRecordsStreamed)->Unit(benchmark::kMillisecond)->UseRealTime();

// Bytes processed are counted as the 64 MB of text the records came from, so
// both directions are measured against the same amount of text; the counter
// "record_bytes" gives the size of the record data read.
void RecordsToText(benchmark::State& state, bool remove_line_numbers) {
  kelvo::StoredContent content;
  if (kelvo::ConvertTextToRecords(SampleText(), kelvo::kImageLineNumbering, content) !=
      kelvo::ERR_OK) {
    state.SkipWithError("conversion failed");
    return;
  }
  const std::span<const std::uint8_t> useful =
      std::span(content.blocks).first(kelvo::UsefulLength(content.words, content.blocks.size()));
  for (auto _ : state) {
    CountingSink sink;
    if (kelvo::ConvertRecordsToText(useful, remove_line_numbers, sink) != kelvo::ERR_OK) {
      state.SkipWithError("conversion failed");
      break;
    }
    benchmark::DoNotOptimize(sink.count);
  }
  state.counters["record_bytes"] = double(useful.size());
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(SampleText().size()));
}

void BM_RecordsToText(benchmark::State& state) { RecordsToText(state, false); }
void BM_RecordsToTextRemoveNumbers(benchmark::State& state) { RecordsToText(state, true); }
BENCHMARK(BM_RecordsToText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RecordsToTextRemoveNumbers)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
