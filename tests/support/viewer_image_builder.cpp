#include "support/viewer_image_builder.h"

namespace kelvo::test {

namespace {

int DotIndex(int pattern) {
  switch (pattern) {
    case 8: return 0;
    case 4: return 1;
    case 2: return 2;
    case 1: return 3;
    default: return -1;
  }
}

void PutBigEndian(std::string& s, std::size_t at, int v) {
  s[at] = static_cast<char>((v >> 8) & 0xFF);
  s[at + 1] = static_cast<char>(v & 0xFF);
}

}  // namespace

RasterEncoder::RasterEncoder(int roundedDots)
    : dots_(roundedDots), previous_(static_cast<std::size_t>(roundedDots / 8), 0) {
  Byte(0x70);
}

void RasterEncoder::ModeCode(int mode) {
  Byte(mode);
  if (nibbles_.size() % 2) Nibble(0);  // the decoder drops an unread half at a line end
}

void RasterEncoder::Group(int skip, int pattern) {
  while (skip >= 64) {
    const int n = skip / 64 > 63 ? 63 : skip / 64;
    Byte(0xC0 | n);
    Nibble(0);
    Count(RasterForm::kBlankRun);
    skip -= n * 64;
  }
  const int dot = DotIndex(pattern);
  ++variant_;
  if (dot >= 0) {
    if (skip == 0) {
      Nibble(8 + dot);
      Count(RasterForm::kDotNoSkip);
    } else if (skip <= 25 && (skip < 2 || variant_ % 2 == 0)) {
      Byte(4 * skip + dot);
      Count(RasterForm::kDotShortSkip);
    } else {
      Byte(0xC0 | skip);
      Nibble(pattern);
      Count(RasterForm::kDotLongSkip);
    }
    return;
  }
  if (skip <= 1 && variant_ % 2 == 0) {
    const int b = pattern == 3 ? 104 + skip : 96 + 2 * pattern + skip;
    Byte(b);
    Count(RasterForm::kPatternSkip01);
  } else {
    Byte(0xC0 | skip);
    Nibble(pattern);
    Count(RasterForm::kPatternLongSkip);
  }
}

void RasterEncoder::Line(const std::vector<std::uint8_t>& ink, int mode) {
  if (pending_mode_ < 0) {
    Byte(mode);
  } else {
    ModeCode(mode);
  }
  pending_mode_ = mode;
  const std::size_t n = previous_.size();
  std::vector<std::uint8_t> line(n, 0);
  for (std::size_t i = 0; i < n && i < ink.size(); ++i) line[i] = ink[i];
  if (mode == 0) {
    for (int g = 0; g < dots_ / 4; ++g) {
      const std::size_t byte = static_cast<std::size_t>(g / 2);
      const int v = byte < n ? ((g % 2) ? line[byte] & 0xF : line[byte] >> 4) : 0;
      Nibble(v);
    }
    Count(RasterForm::kUncompressedLine);
  } else {
    // What the decoder must produce before combining the line.
    std::vector<std::uint8_t> target = line;
    if (mode == 1) {
      for (std::size_t i = 0; i < n; ++i) target[i] = line[i] ^ previous_[i];
    } else if (mode == 3) {
      for (std::size_t i = 1; i < n; ++i) target[i] = line[i] ^ line[i - 1];
    }
    int gap = 0;
    for (std::size_t g = 0; g < 2 * n; ++g) {
      const int p = (g % 2) ? target[g / 2] & 0xF : target[g / 2] >> 4;
      if (p == 0) {
        ++gap;
        continue;
      }
      Group(gap, p);
      gap = 0;
    }
  }
  previous_ = line;
}

void RasterEncoder::End() {
  if (pending_mode_ < 0) {
    Byte(0x71);
  } else {
    ModeCode(0x71);
  }
}

std::string RasterEncoder::Bytes() const {
  std::string out;
  for (std::size_t i = 0; i < nibbles_.size(); i += 2) {
    const int lo = i + 1 < nibbles_.size() ? nibbles_[i + 1] : 0;
    out.push_back(static_cast<char>(nibbles_[i] << 4 | lo));
  }
  return out;
}

std::string EncodeImageLines(const ImageLines& lines, int roundedDots, bool end, RasterEncoder* stats) {
  RasterEncoder enc(roundedDots);
  for (std::size_t i = 0; i < lines.size(); ++i) enc.Line(lines[i], static_cast<int>(i % 4));
  if (end) enc.End();
  if (stats) *stats = enc;
  return enc.Bytes();
}

std::string BuildImageFile(const ImageFileSpec& spec) {
  std::string file(spec.base, ' ');
  std::string header(512, '\0');
  header.replace(0, 16, "Vellumtype/Kelvo");
  header.replace(16, spec.version.size(), spec.version);
  header.replace(68, spec.encoding.size(), spec.encoding);
  header.replace(101, spec.orientation.size(), spec.orientation);
  PutBigEndian(header, 458, spec.scan_lines);
  PutBigEndian(header, 462, spec.dots);
  PutBigEndian(header, 474, spec.scan_lines);
  PutBigEndian(header, 478, spec.dots);
  file += header;
  if (!spec.colour.empty()) {
    file[256] = static_cast<char>(0xC6);
    file[257] = static_cast<char>(0xAC);
    file.replace(154, spec.colour.size(), spec.colour);
    file[154 + spec.colour.size()] = '\0';
  }
  file += spec.raster;
  return file;
}

}  // namespace kelvo::test
