// 100 files of 10 KB copied from a PC folder onto an emulated 1.2 MB floppy
// and back through the transfer engine; every file is checked against what
// the conversion rules make of it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/transfer_fixture.h"

namespace {

using namespace kelvo;
namespace fs = std::filesystem;

constexpr int kFiles = 100;
constexpr std::size_t kFileBytes = 10 * 1024;
constexpr std::size_t kLineText = 74;
const char* const kTypes[] = {"FNT", "IMG", "JSL", "CMD"};  // two binary, two source

bool IsText(int i) { return i % 4 >= 2; }
std::string NameOf(int i) {
  std::string name = "F";
  name += std::to_string(i);
  name += '.';
  name += kTypes[i % 4];
  return name;
}

// Source text: lines of 74 characters and CR LF, 10 KB or just under.
std::string TextFile(int seed) {
  std::string text;
  for (int line = 0; text.size() + kLineText + 2 <= kFileBytes; ++line) {
    for (std::size_t c = 0; c < kLineText; ++c)
      text += static_cast<char>('A' + (line * 7 + static_cast<int>(c) + seed) % 26);
    text += "\r\n";
  }
  return text;
}

// What comes back: binary files as whole blocks (10 KB is 20 blocks); each
// text line as its 80-column record (text, line number 000000) and CR LF.
std::vector<std::uint8_t> Expected(int i) {
  if (!IsText(i)) return test::Bytes(test::SeededBytes(kFileBytes, i));
  std::string back;
  const std::string text = TextFile(i);
  for (std::size_t at = 0; at < text.size(); at += kLineText + 2)
    back.append(text, at, kLineText).append("000000\r\n");
  return test::Bytes(back);
}

void BM_RoundTripHundredFiles(benchmark::State& state) {
  test::TransferBench bench;
  const fs::path pc = bench.Folder("pc");
  const fs::path out = bench.Folder("out");
  std::vector<std::string> names;
  for (int i = 0; i < kFiles; ++i) {
    names.push_back(NameOf(i));
    test::WriteFileBytes(pc / names.back(),
                         IsText(i) ? TextFile(i) : test::SeededBytes(kFileBytes, i));
  }
  for (auto _ : state) {
    state.PauseTiming();
    bench.InsertEmptyDisk('A', "BENCH", 17);
    fs::remove_all(out);
    fs::create_directories(out);
    state.ResumeTiming();

    const ErrorCode in = bench.Copy(pc.string(), PlaceKind::PcFolder, "A:", PlaceKind::Floppy,
                                    names);
    const ErrorCode back = bench.Copy("A:", PlaceKind::Floppy, out.string(),
                                      PlaceKind::PcFolder, names);

    state.PauseTiming();
    if (in != ERR_OK || back != ERR_OK || !bench.ui.asks.empty()) {
      state.SkipWithError("transfer failed");
      break;
    }
    for (int i = 0; i < kFiles; ++i) {
      const std::string name = NameOf(i);
      std::string shown = name;  // the list's form: "F7.jsl"
      for (std::size_t c = 1; c < shown.size(); ++c)
        shown[c] = static_cast<char>(std::tolower(static_cast<unsigned char>(shown[c])));
      if (test::FileBytes(out / shown) != Expected(i)) {
        std::string what = "file came back changed: ";
        what += name;
        state.SkipWithError(what.c_str());
        break;
      }
    }
    state.ResumeTiming();
  }
  state.counters["files"] = 2 * kFiles;
}
BENCHMARK(BM_RoundTripHundredFiles)->Unit(benchmark::kMillisecond);

}  // namespace
