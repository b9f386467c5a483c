// Listing a PC folder of 20,000 printer files into the PC window's rows.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "gui/windows/pc_folder_lister.h"

namespace {

void BM_ListPcFolderOf20000Files(benchmark::State& state) {
  int argc = 0;
  QCoreApplication app(argc, nullptr);
  QTemporaryDir dir;
  for (int i = 0; i < 20000; ++i) {
    QFile f(dir.filePath(QStringLiteral("F%1.JSL").arg(i, 5, 10, QLatin1Char('0'))));
    if (!f.open(QIODevice::WriteOnly) || f.write("x", 1) != 1) state.SkipWithError("cannot make the folder");
  }
  for (auto _ : state) {
    const kelvo::gui::PcFolderListing listing = kelvo::gui::ListPcFolder(dir.path(), false);
    if (listing.rows.size() != 20000) state.SkipWithError("not every file was listed");
    benchmark::DoNotOptimize(listing.rows.data());
  }
}
BENCHMARK(BM_ListPcFolderOf20000Files)->Unit(benchmark::kMillisecond);

}  // namespace
