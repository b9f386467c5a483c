// Throughput of labelled tape restores and writes on tape image files,
// against a cat-style copy (128 KiB read/write loop) of the same bytes into
// the same folder; the binary write also in turns with that copy.
//
// The set: KDU_BENCH_TAPE_MB megabytes (default 256) of binary files of 8 MB
// each, and a quarter of that as source (CMD) files for the conversion case.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "silent_sinks.h"
#include "tape/labelled_tape.h"

namespace {

namespace fs = std::filesystem;
using namespace kelvo;

constexpr std::size_t kFileBytes = 8u << 20;

using NullProgress = bench::SilentTapeProgress;

// A blank tape image for a timed write: a new file, like the copy's new
// files. (Truncating the previous image instead would make the file system
// start writing all of it back when the image is closed, inside the timing.)
void FreshImage(const fs::path& path) {
  fs::remove(path);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) std::abort();
  ::close(fd);
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
  ::close(fd);
}

std::string NumberedName(char first, std::size_t n, const char* type) {
  std::string name(1, first);
  name += std::to_string(n);
  name += type;
  return name;
}

// The shared data set, built once.
struct Fixture {
  fs::path root;
  std::vector<std::string> binaries;
  std::vector<std::string> sources;
  std::uint64_t binary_bytes = 0;
  bench::SilentInteraction ui{Button::Cancel};
  bool busy = false;
  TapeContext ctx{ui, busy, {}};

  Fixture() {
    const char* mb = std::getenv("KDU_BENCH_TAPE_MB");
    const std::size_t total = (mb ? std::strtoull(mb, nullptr, 10) : 256) << 20;
    root = fs::temp_directory_path() / ("kdu-bench-tape-" + std::to_string(::getpid()));
    fs::create_directories(root / "in");
    std::mt19937_64 rng(7);
    std::string data(kFileBytes, '\0');
    for (std::size_t i = 0; i * kFileBytes < total; ++i) {
      for (std::size_t j = 0; j < data.size(); j += 8) {
        const std::uint64_t v = rng();
        std::memcpy(&data[j], &v, 8);
      }
      binaries.push_back(NumberedName('F', i, ".IMG"));
      WriteFile(root / "in" / binaries.back(), data);
      binary_bytes += data.size();
    }
    std::string text;
    while (text.size() < kFileBytes) text += "SOURCE LINE FOR THE CONVERSION BENCHMARK, SOME WORDS\r\n";
    for (std::size_t i = 0; i * kFileBytes < total / 4; ++i) {
      sources.push_back(NumberedName('S', i, ".CMD"));
      WriteFile(root / "in" / sources.back(), text);
    }
    ctx.bindings.device[0] = (root / "binary.tap").string();
    ctx.bindings.device[1] = (root / "source.tap").string();
    WriteFile(root / "binary.tap", "");
    WriteFile(root / "source.tap", "");
    NullProgress progress;
    TapeWriteOptions options;
    if (WriteLabelledTape(ctx, "Tape0", (root / "in").string(), binaries, options, progress) ||
        WriteLabelledTape(ctx, "Tape1", (root / "in").string(), sources, options, progress)) {
      std::abort();
    }
  }
  ~Fixture() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  // An empty output folder, with the previous output written back first so
  // that every timed copy starts from the same state of the page cache.
  fs::path FreshOut(benchmark::State& state) {
    state.PauseTiming();
    fs::path out = root / "out";
    fs::remove_all(out);
    fs::create_directory(out);
    ::sync();
    state.ResumeTiming();
    return out;
  }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

void CatCopy(const Fixture& f, const fs::path& out, std::vector<char>& buf) {
  for (const std::string& name : f.binaries) {
    int in = ::open((f.root / "in" / name).c_str(), O_RDONLY);
    int o = ::open((out / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ssize_t n;
    while ((n = ::read(in, buf.data(), buf.size())) > 0) {
      if (::write(o, buf.data(), static_cast<std::size_t>(n)) != n) std::abort();
    }
    ::close(in);
    ::close(o);
  }
}

void BM_CatCopy(benchmark::State& state) {
  Fixture& f = Data();
  std::vector<char> buf(128 * 1024);
  for (auto _ : state) {
    fs::path out = f.FreshOut(state);
    CatCopy(f, out, buf);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.binary_bytes));
}

// The cat-style copy and the tape write of the same files taken in turns, so
// that both meet the same load of a shared machine; which one goes first
// alternates from iteration to iteration, because the second of the two
// grows the page cache further and may pay for memory the first did not.
// The counters give each one's MB/s and the write's share of the copy's.
void BM_WriteBinaryInTurnsWithCat(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  Fixture& f = Data();
  NullProgress progress;
  TapeWriteOptions options;
  std::vector<char> buf(128 * 1024);
  f.ctx.bindings.device[2] = (f.root / "written.tap").string();
  const fs::path out = f.root / "out";
  auto timed = [](auto&& work) {
    const auto t0 = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - t0).count();
  };
  auto cat = [&] { CatCopy(f, out, buf); };
  auto write = [&] {
    if (WriteLabelledTape(f.ctx, "Tape2", (f.root / "in").string(), f.binaries, options, progress)) {
      std::abort();
    }
  };
  double cat_s = 0;
  double write_s = 0;
  bool cat_first = true;
  for (auto _ : state) {
    fs::remove_all(out);
    fs::create_directory(out);
    FreshImage(f.root / "written.tap");
    ::sync();
    double c = 0;
    double w = 0;
    if (cat_first) {
      c = timed(cat);
      ::sync();
      w = timed(write);
    } else {
      w = timed(write);
      ::sync();
      c = timed(cat);
    }
    cat_first = !cat_first;
    cat_s += c;
    write_s += w;
    state.SetIterationTime(c + w);
  }
  const double mb = static_cast<double>(state.iterations() * f.binary_bytes) / 1e6;
  state.counters["cat_MBps"] = mb / cat_s;
  state.counters["write_MBps"] = mb / write_s;
  state.counters["write_pct_of_cat"] = 100.0 * cat_s / write_s;
}

void BM_RestoreBinary(benchmark::State& state) {
  Fixture& f = Data();
  NullProgress progress;
  TapeRestoreOptions options;
  for (auto _ : state) {
    fs::path out = f.FreshOut(state);
    if (RestoreLabelledTape(f.ctx, "Tape0", out.string(), "*.*", {}, options, progress)) std::abort();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.binary_bytes));
}

void BM_WriteBinary(benchmark::State& state) {
  Fixture& f = Data();
  NullProgress progress;
  TapeWriteOptions options;
  f.ctx.bindings.device[2] = (f.root / "written.tap").string();
  for (auto _ : state) {
    state.PauseTiming();
    FreshImage(f.root / "written.tap");
    ::sync();
    state.ResumeTiming();
    if (WriteLabelledTape(f.ctx, "Tape2", (f.root / "in").string(), f.binaries, options, progress)) {
      std::abort();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.binary_bytes));
}

void BM_WriteSourceText(benchmark::State& state) {
  Fixture& f = Data();
  NullProgress progress;
  TapeWriteOptions options;
  f.ctx.bindings.device[3] = (f.root / "written-source.tap").string();
  std::uint64_t text_bytes = 0;
  for (const std::string& name : f.sources) text_bytes += fs::file_size(f.root / "in" / name);
  for (auto _ : state) {
    state.PauseTiming();
    FreshImage(f.root / "written-source.tap");
    ::sync();
    state.ResumeTiming();
    if (WriteLabelledTape(f.ctx, "Tape3", (f.root / "in").string(), f.sources, options, progress)) {
      std::abort();
    }
  }
  // Counted as the PC text bytes converted.
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text_bytes));
}

void BM_RestoreSourceToText(benchmark::State& state) {
  Fixture& f = Data();
  NullProgress progress;
  TapeRestoreOptions options;
  fs::path out;
  for (auto _ : state) {
    out = f.FreshOut(state);
    if (RestoreLabelledTape(f.ctx, "Tape1", out.string(), "*.CMD", {}, options, progress)) std::abort();
  }
  // Counted as the text bytes produced.
  std::uint64_t produced = 0;
  for (const auto& e : fs::directory_iterator(out)) produced += e.file_size();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * produced));
}

// Five repetitions of three iterations each, reported as mean, median and
// spread. On a virtual machine the first pass that grows the page cache into
// memory not touched before runs several times slower (the host backs the
// pages on first use), whichever case it falls on; the median is not swayed
// by that one pass.
#define KDU_TAPE_BENCH(fn) \
  BENCHMARK(fn)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true)
KDU_TAPE_BENCH(BM_CatCopy)->UseRealTime();
KDU_TAPE_BENCH(BM_RestoreBinary)->UseRealTime();
KDU_TAPE_BENCH(BM_WriteBinary)->UseRealTime();
KDU_TAPE_BENCH(BM_WriteBinaryInTurnsWithCat)->Iterations(4)->UseManualTime();
KDU_TAPE_BENCH(BM_WriteSourceText)->UseRealTime();
KDU_TAPE_BENCH(BM_RestoreSourceToText)->UseRealTime();

}  // namespace
