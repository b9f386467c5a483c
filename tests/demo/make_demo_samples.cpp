// Writes the demo font and image (DEMO.FNT, LOGO.IMG) into a folder, using the
// same generators as the viewer tests. Run by scripts/demo.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/viewer_font_builder.h"
#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"

namespace {

using namespace kelvo::test;

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// A 16 x 16 glyph: a frame with the character code drawn as bits inside.
FontGlyphSpec FramedGlyph(int code) {
  FontGlyphSpec g;
  g.code = code;
  g.rows = 16;
  g.row_length = 2;
  g.bytes.assign(32, 0);
  for (int r = 0; r < 16; ++r) {
    unsigned row = (r == 0 || r == 15) ? 0xFFFFu : 0x8001u;
    if (r >= 4 && r < 12) row |= ((code >> (r - 4)) & 1) ? 0x0FF0u : 0x0000u;
    g.bytes[static_cast<std::size_t>(r * 2)] = static_cast<std::uint8_t>(row >> 8);
    g.bytes[static_cast<std::size_t>(r * 2 + 1)] = static_cast<std::uint8_t>(row & 0xFF);
  }
  return g;
}

std::string DemoFont() {
  FontSpec spec = DefaultFontSpec(18);
  spec.label_name = "DEMO";
  for (int code = 32; code <= spec.highest_code; ++code) spec.glyphs.push_back(FramedGlyph(code));
  return BuildFont(spec);
}

// A ring and a border, 320 x 200 dots.
std::string DemoImage() {
  const int dots = 320;
  const int lines = 200;
  const int rounded = kelvo::RoundedImageDots(dots);
  RasterEncoder encoder(rounded);
  for (int y = 0; y < lines; ++y) {
    std::vector<std::uint8_t> ink(static_cast<std::size_t>(rounded / 8), 0);
    for (int x = 0; x < dots; ++x) {
      double d = std::hypot(x - dots / 2.0, y - lines / 2.0);
      bool on = (y < 3 || y >= lines - 3 || x < 3 || x >= dots - 3) || (d > 60 && d < 72) ||
                (d < 20 && (x + y) % 6 < 3);
      if (on) ink[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    encoder.Line(ink, y == 0 ? 0 : 1);
  }
  encoder.End();
  ImageFileSpec spec;
  spec.scan_lines = lines;
  spec.dots = dots;
  spec.raster = encoder.Bytes();
  return BuildImageFile(spec);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_samples FOLDER\n");
    return 2;
  }
  std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!WriteFile(dir / "DEMO.FNT", DemoFont()) || !WriteFile(dir / "LOGO.IMG", DemoImage())) {
    std::fprintf(stderr, "make_demo_samples: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
