// Runs a fuzz target's entry function on saved inputs, outside libFuzzer: the
// regression inputs kept under tests/regressions/<target>/ are replayed by
// the ordinary test build (and its sanitizer build) this way, and
// scripts/fuzz replays a whole corpus to find its slowest input.
//   replay_<target> FILE_OR_FOLDER...
// Prints the processor time of the slowest input: unlike the fuzzer's own
// timeout, which is measured on the wall clock, it does not depend on what
// else the machine is doing.
#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Slowest {
  double seconds = 0;
  std::string path;
};

bool Replay(const std::filesystem::path& path, Slowest& slowest) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  const double start = CpuSeconds();
  // A crash or a failed check in the target aborts the process.
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  const double spent = CpuSeconds() - start;
  if (spent >= slowest.seconds) slowest = {spent, path.string()};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int replayed = 0;
  Slowest slowest;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::directory_iterator(arg)) {
        if (!entry.is_regular_file()) continue;
        if (!Replay(entry.path(), slowest)) return 1;
        ++replayed;
      }
    } else {
      if (!Replay(arg, slowest)) return 1;
      ++replayed;
    }
  }
  if (replayed == 0) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  std::printf("replayed %d inputs; slowest %.3f s of processor time: %s\n", replayed,
              slowest.seconds, slowest.path.c_str());
  return 0;
}
