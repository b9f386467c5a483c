#include "support/viewer_font_builder.h"

#include <algorithm>

namespace kelvo::test {

namespace {

void PutWord(std::string& s, std::size_t at, int v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

}  // namespace

FontSpec DefaultFontSpec(int spacing) {
  FontSpec spec;
  spec.spacing.fill(static_cast<std::uint8_t>(spacing));
  return spec;
}

FontGlyphSpec SolidGlyph(int code, int rows, int row_length) {
  FontGlyphSpec g;
  g.code = code;
  g.rows = rows;
  g.row_length = row_length;
  g.bytes.assign(static_cast<std::size_t>(rows * row_length), 0xFF);
  return g;
}

std::string BuildFont(const FontSpec& spec) {
  const int entries = spec.highest_code + 1;
  std::string header(512, '\0');
  header[0] = spec.orientation;
  header[1] = spec.pitch;
  PutWord(header, 2, spec.inverse_landscape_height);
  PutWord(header, 4, spec.line_spacing);
  PutWord(header, 6, spec.average_spacing);
  PutWord(header, 8, spec.baseline_to_bottom);
  PutWord(header, 10, spec.baseline_to_top);
  header[16] = static_cast<char>(spec.highest_code);
  PutWord(header, 46, spec.font_type);
  for (int i = 0; i < 256; ++i) header[256 + i] = static_cast<char>(spec.spacing[i]);

  // The matrix in reading order; glyphs start on word boundaries.
  std::string matrix;
  std::string fst(static_cast<std::size_t>((entries + 63) / 64) * 512, '\0');
  for (const FontGlyphSpec& g : spec.glyphs) {
    if (g.code < 0 || g.code >= entries) continue;
    if (matrix.size() % 2) matrix.push_back('\0');
    const std::size_t at = static_cast<std::size_t>(g.code) * 8;
    PutWord(fst, at, (g.offset & 0xFF) | (g.no_glyph ? 0x8000 : 0));
    PutWord(fst, at + 2, static_cast<int>(matrix.size() / 2));
    fst[at + 4] = static_cast<char>((256 - g.rows) % 256);
    fst[at + 5] = static_cast<char>(((128 - g.row_length) % 128) << 1);
    matrix.append(g.bytes.begin(), g.bytes.end());
  }
  if (matrix.size() % 2) matrix.push_back('\0');
  int sizeField = spec.matrix_size_field;
  if (sizeField < 0) {
    sizeField = static_cast<int>(spec.font_type == 4 ? matrix.size() / 2 : matrix.size());
  }
  PutWord(header, 18, sizeField);
  // The file holds every pair of matrix bytes exchanged.
  for (std::size_t i = 0; i + 1 < matrix.size(); i += 2) std::swap(matrix[i], matrix[i + 1]);

  std::string file;
  if (!spec.label_name.empty()) {
    std::string label(128, ' ');
    label.replace(18, spec.label_name.size(), spec.label_name);
    file += label;
  }
  file += header;
  file += fst;
  file += matrix;
  return file;
}

}  // namespace kelvo::test
