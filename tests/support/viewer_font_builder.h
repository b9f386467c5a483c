// Builds printer font files for the viewer tests.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvo::test {

struct FontGlyphSpec {
  int code = 0;
  int rows = 0;
  int row_length = 0;                // bytes per row
  std::vector<std::uint8_t> bytes;  // rows x row_length, set bit = ink
  int offset = 0;                   // placement offset
  bool no_glyph = false;
};

struct FontSpec {
  char orientation = 'L';
  char pitch = 'P';
  int inverse_landscape_height = 0;
  int line_spacing = 50;
  int average_spacing = 20;
  int baseline_to_bottom = 10;
  int baseline_to_top = 30;
  int highest_code = 127;
  int font_type = 0;
  std::array<std::uint8_t, 256> spacing{};  // as stored in the header
  std::vector<FontGlyphSpec> glyphs;
  // When not empty, a 128-byte label spelling this name from offset 18.
  std::string label_name;
  // Matrix size field override (-1: computed from the glyphs).
  int matrix_size_field = -1;
};

// A spec whose spacing table gives every code `spacing` dots.
FontSpec DefaultFontSpec(int spacing = 20);

// A glyph filled entirely with ink.
FontGlyphSpec SolidGlyph(int code, int rows, int row_length);

// The bytes of the font file.
std::string BuildFont(const FontSpec& spec);

}  // namespace kelvo::test
