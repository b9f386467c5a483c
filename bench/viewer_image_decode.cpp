// Decoding a 600 dpi letter page (5100 x 6600 dots) of text-like content.
#include <benchmark/benchmark.h>

#include <random>

#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"
#include "viewers/image_view_model.h"

namespace {

using kelvo::test::ImageFileSpec;
using kelvo::test::RasterEncoder;

constexpr int kDots = 5100;
constexpr int kLines = 6600;

// A page of text: 1-inch margins, lines of characters 36 dots high every
// 60 dots, each character a few strokes in a 34 x 36 cell.
std::vector<std::vector<std::uint8_t>> TextPage() {
  const std::size_t bytes = static_cast<std::size_t>(kelvo::RoundedImageDots(kDots) / 8);
  std::vector<std::vector<std::uint8_t>> page(kLines, std::vector<std::uint8_t>(bytes, 0));
  std::mt19937 rng(42);
  auto ink = [&](int x, int y) { page[y][x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7)); };
  for (int top = 600; top + 36 < kLines - 600; top += 60) {
    if (rng() % 10 == 0) continue;  // paragraph gap
    const int right = 600 + static_cast<int>(rng() % 3900);
    for (int left = 600; left + 34 < right; left += 40) {
      if (rng() % 6 == 0) continue;  // word gap
      const int strokes = 2 + static_cast<int>(rng() % 3);
      for (int s = 0; s < strokes; ++s) {
        const unsigned kind = rng() % 3;
        if (kind == 2) {  // a slanted stroke: every row differs from the one above
          const int x0 = left + static_cast<int>(rng() % 10);
          for (int y = top; y < top + 36; ++y)
            for (int t = 0; t < 5; ++t) ink(x0 + (y - top) / 2 + t, y);
        } else if (kind == 1) {
          const int x = left + static_cast<int>(rng() % 30);
          for (int y = top; y < top + 36; ++y)
            for (int t = 0; t < 4; ++t) ink(x + t, y);
        } else {
          const int y = top + static_cast<int>(rng() % 32);
          for (int t = 0; t < 4; ++t)
            for (int x = left; x < left + 30; ++x) ink(x, y + t);
        }
      }
    }
  }
  return page;
}

int NonZeroNibbles(const std::vector<std::uint8_t>& line) {
  int n = 0;
  for (std::uint8_t b : line) n += ((b >> 4) != 0) + ((b & 0xF) != 0);
  return n;
}

std::string EncodedPage() {
  const auto page = TextPage();
  RasterEncoder enc(kelvo::RoundedImageDots(kDots));
  std::vector<std::uint8_t> previous(page[0].size(), 0);
  std::vector<std::uint8_t> delta(page[0].size());
  for (const auto& line : page) {
    for (std::size_t i = 0; i < line.size(); ++i) delta[i] = line[i] ^ previous[i];
    // Like a printer's encoder: a line that repeats the one above is coded
    // as a difference (mode 1), any other line as it is (mode 2).
    enc.Line(line, NonZeroNibbles(delta) < NonZeroNibbles(line) ? 1 : 2);
    previous = line;
  }
  enc.End();
  ImageFileSpec spec;
  spec.dots = kDots;
  spec.scan_lines = kLines;
  spec.raster = enc.Bytes();
  return kelvo::test::BuildImageFile(spec);
}

void BM_DecodeLetterPage600Dpi(benchmark::State& state) {
  const std::string file = EncodedPage();
  for (auto _ : state) {
    kelvo::CImgDoc doc;
    if (!doc.LoadBytes(file)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(doc.Bitmap());
  }
  state.counters["raster_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_DecodeLetterPage600Dpi)->Unit(benchmark::kMillisecond);

// The image view's display bitmap of that page at 50 %, turned once.
void BM_DisplayBitmapLetterPageAt50(benchmark::State& state) {
  kelvo::CImgDoc doc;
  if (!doc.LoadBytes(EncodedPage())) state.SkipWithError("decode failed");
  const kelvo::CMonoBitmap full = kelvo::MakeFullBitmap(doc);
  for (auto _ : state) {
    kelvo::CMonoBitmap display = kelvo::BuildDisplayBitmap(full, 50, 1);
    benchmark::DoNotOptimize(display.Bits().data());
  }
}
BENCHMARK(BM_DisplayBitmapLetterPageAt50)->Unit(benchmark::kMillisecond);

}  // namespace
