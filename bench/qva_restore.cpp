// Restoring a 1 GiB QVA tape set of two volumes into a folder, against a
// plain copy of the same image files into the same folder (what `cat` does).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "silent_sinks.h"
#include "support/qva_tape_builder.h"
#include "tape/qva_restore.h"

namespace {

namespace fs = std::filesystem;
using kelvo::test::QvaFile;
using kelvo::test::QvaTapeBuilder;

constexpr std::size_t kFileBytes = std::size_t{4} << 20;  // 4 MiB per file
constexpr int kFiles = 256;                                // 1 GiB in all
constexpr std::size_t kBlock = 16384;

// Writes tape image records straight to a file (the set is too large to
// build in memory).
class TapWriter {
 public:
  explicit TapWriter(const fs::path& path) : out_(path, std::ios::binary) {}
  void Record(const std::string& data) {
    const std::uint32_t n = static_cast<std::uint32_t>(data.size());
    out_.write(reinterpret_cast<const char*>(&n), 4);
    out_ << data;
    if (n & 1) out_.put('\0');
    out_.write(reinterpret_cast<const char*>(&n), 4);
  }
  void Filemark() { out_.write("\0\0\0\0", 4); }

 private:
  std::ofstream out_;
};

struct Set {
  fs::path dir = fs::temp_directory_path() / ("kdu-qva-bench-" + std::to_string(::getpid()));
  std::vector<std::string> volumes;

  Set() {
    fs::create_directories(dir / "out");
    std::vector<QvaFile> files;
    for (int i = 0; i < kFiles; ++i) {
      QvaFile f;
      f.name = "F";
      f.name += std::to_string(i);
      f.claimed_blocks = kFileBytes / 512;
      files.push_back(f);
    }
    volumes = {(dir / "vol1.tap").string(), (dir / "vol2.tap").string()};
    auto v1 = std::make_unique<TapWriter>(volumes[0]);
    std::string header(512, '\0');
    header[0] = 0x77;
    header[2] = 0x08;
    header[3] = 0x02;
    v1->Record(header);
    v1->Filemark();
    v1->Record(std::string(128, 'C'));
    v1->Filemark();
    v1->Record(QvaTapeBuilder::MasterFileDirectory("BENCH", {"$Y$", "FNT"}));
    v1->Record(QvaTapeBuilder::DirectorySectors({}, 1)[0]);
    std::string dir_block;
    for (const std::string& s : QvaTapeBuilder::DirectorySectors(files, 0)) dir_block += s;
    v1->Record(dir_block);
    std::string block(kBlock, '\0');
    for (std::size_t i = 0; i < kBlock; ++i) block[i] = static_cast<char>(i * 7 + i / 512);
    const std::size_t blocks = kFiles * (kFileBytes / kBlock);
    TapWriter* w = v1.get();
    std::unique_ptr<TapWriter> v2;
    for (std::size_t b = 0; b < blocks; ++b) {
      if (b == blocks / 2) {
        w->Record(QvaTapeBuilder::EndOfVolumeRecord());
        v2 = std::make_unique<TapWriter>(volumes[1]);
        w = v2.get();
        w->Record(QvaTapeBuilder::ControlRecord(2, 0));
      }
      w->Record(block);
    }
    w->Filemark();
  }
  ~Set() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  void ClearOutput() {
    fs::remove_all(dir / "out");
    fs::create_directories(dir / "out");
  }
};

Set& TheSet() {
  static Set set;
  return set;
}

class NoWindow : public kelvo::bench::SilentWindow<kelvo::CQvaProgressSink> {
 public:
  void SetSystemId(const std::string&) override {}
  void SetFilesRestored(const std::string&) override {}
  void SetCurrentDiskUnit(const std::string&) override {}
};

void CopyFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  std::vector<char> buffer(128 * 1024);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n <= 0) break;
    if (::write(out, buffer.data(), static_cast<std::size_t>(n)) != n) break;
  }
  ::close(in);
  ::close(out);
}

void BM_PlainCopy(benchmark::State& state) {
  Set& set = TheSet();
  std::uintmax_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    set.ClearOutput();
    state.ResumeTiming();
    bytes = 0;
    for (std::size_t i = 0; i < set.volumes.size(); ++i) {
      const std::string to = (set.dir / "out" / ("copy" + std::to_string(i))).string();
      CopyFile(set.volumes[i], to);
      bytes += fs::file_size(to);
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_QvaRestore(benchmark::State& state) {
  Set& set = TheSet();
  kelvo::bench::SilentInteraction ui(kelvo::Button::Ok);
  bool busy = false;
  kelvo::TapeContext ctx{ui, busy, {}};
  ctx.bindings.device[0] = set.volumes[0] + "," + set.volumes[1];
  for (auto _ : state) {
    state.PauseTiming();
    set.ClearOutput();
    state.ResumeTiming();
    NoWindow window;
    kelvo::QvaRestoreReport report;
    const kelvo::ErrorCode rc = kelvo::RestoreQvaTape(ctx, "Tape0", (set.dir / "out").string(),
                                                      "*.*", {}, window, &report);
    if (rc != 0 || report.restored != kFiles) state.SkipWithError("restore failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFiles * kFileBytes));
}

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_QvaRestore)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
