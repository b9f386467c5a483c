// Listing a PC folder of 20,000 printer files the way the PC window's lister
// does (readdir, fstatat, the filter and the type column of each entry),
// without the window. Target: well under a second.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "filetypes/file_names.h"
#include "support/test_support.h"

namespace {

const kelvo::test::TempDir& Folder() {
  static const kelvo::test::TempDir dir;
  static const bool made = [] {
    for (int i = 0; i < 20000; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "F%05d.JSL", i);
      kelvo::test::WriteFileBytes(dir / name, "x");
    }
    return true;
  }();
  (void)made;
  return dir;
}

void BM_ListTwentyThousandFiles(benchmark::State& state) {
  const std::string folder = Folder().path().string();
  std::size_t rows = 0;
  for (auto _ : state) {
    rows = 0;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
      state.SkipWithError("cannot open the folder");
      break;
    }
    while (const dirent* entry = ::readdir(dir)) {
      struct stat st {};
      if (entry->d_name[0] == '.' || ::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0) continue;
      if (!kelvo::ShouldListPcFolderEntry(entry->d_name, S_ISDIR(st.st_mode), false)) continue;
      benchmark::DoNotOptimize(kelvo::GetPcFolderTypeColumn(entry->d_name));
      ++rows;
    }
    ::closedir(dir);
  }
  state.counters["files"] = static_cast<double>(rows);
}
BENCHMARK(BM_ListTwentyThousandFiles)->Unit(benchmark::kMillisecond);

}  // namespace
