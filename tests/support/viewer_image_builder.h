// Builds printer image files for the viewer tests and benchmarks: a header
// writer and a restricted raster encoder that uses every code form.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvo::test {

// The code forms the encoder can emit, counted so tests can check coverage.
enum class RasterForm {
  kUncompressedLine,  // mode 0
  kDotNoSkip,         // 4-bit codes 8..11
  kDotShortSkip,      // codes 4..103
  kPatternSkip01,     // codes 104..127
  kBlankRun,          // codes from 128 with pattern 0
  kPatternLongSkip,   // codes from 128 with a pattern of several dots
  kDotLongSkip,       // codes from 128 with a single dot, skip 2 or more
  kCount
};

class RasterEncoder {
 public:
  // `roundedDots`: the decoded line length in dots (see RoundedImageDots).
  explicit RasterEncoder(int roundedDots);

  // Appends one line in `mode` (0 to 3); `ink` holds roundedDots / 8 bytes,
  // a set bit an ink dot. The line ends with the code of the next line's
  // mode, given to the following call (or to End).
  void Line(const std::vector<std::uint8_t>& ink, int mode);
  // Ends the image with code 0x71.
  void End();
  // The encoded raster.
  std::string Bytes() const;

  const std::array<int, static_cast<int>(RasterForm::kCount)>& FormCounts() const {
    return counts_;
  }

 private:
  void Nibble(int v) { nibbles_.push_back(static_cast<std::uint8_t>(v & 0xF)); }
  void Byte(int v) {
    Nibble(v >> 4);
    Nibble(v);
  }
  void ModeCode(int mode);
  void Group(int skip, int pattern);
  void Count(RasterForm f) { ++counts_[static_cast<int>(f)]; }

  int dots_;
  int pending_mode_ = -1;  // mode of the line being written
  std::vector<std::uint8_t> nibbles_;
  std::vector<std::uint8_t> previous_;
  std::array<int, static_cast<int>(RasterForm::kCount)> counts_{};
  unsigned variant_ = 0;
};

using ImageLines = std::vector<std::vector<std::uint8_t>>;

// `lines` of roundedDots / 8 bytes encoded in modes 0, 1, 2, 3 in turn, ended
// with code 0x71 when `end`; `stats`, when given, receives the encoder.
std::string EncodeImageLines(const ImageLines& lines, int roundedDots, bool end = true,
                             RasterEncoder* stats = nullptr);

struct ImageFileSpec {
  std::string version = "/2.1/RasterEncoding/1.0";
  std::string encoding = "V2.0 Restricted Raster Encoding";
  std::string orientation{};  // written at base + 101
  int scan_lines = 0;
  int dots = 0;
  std::size_t base = 0;  // 0, 128 or 512: bytes of label before the header
  std::string colour{};  // when not empty, the colour marker and name
  std::string raster;
};

std::string BuildImageFile(const ImageFileSpec& spec);

}  // namespace kelvo::test
