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
  int rowLength = 0;                // bytes per row
  std::vector<std::uint8_t> bytes;  // rows x rowLength, set bit = ink
  int offset = 0;                   // placement offset
  bool noGlyph = false;
};

struct FontSpec {
  char orientation = 'L';
  char pitch = 'P';
  int inverseLandscapeHeight = 0;
  int lineSpacing = 50;
  int averageSpacing = 20;
  int baselineToBottom = 10;
  int baselineToTop = 30;
  int highestCode = 127;
  int fontType = 0;
  std::array<std::uint8_t, 256> spacing{};  // as stored in the header
  std::vector<FontGlyphSpec> glyphs;
  // When not empty, a 128-byte label spelling this name from offset 18.
  std::string labelName;
  // Matrix size field override (-1: computed from the glyphs).
  int matrixSizeField = -1;
};

// A spec whose spacing table gives every code `spacing` dots.
FontSpec DefaultFontSpec(int spacing = 20);

// A glyph filled entirely with ink.
FontGlyphSpec SolidGlyph(int code, int rows, int rowLength);

// The bytes of the font file.
std::string BuildFont(const FontSpec& spec);

}  // namespace kelvo::test
