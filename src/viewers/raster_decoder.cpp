#include "viewers/raster_decoder.h"

#include <algorithm>
#include <vector>

namespace kelvo {

namespace {

// The single-dot patterns of a code's low two bits.
constexpr std::uint8_t kDotPattern[4] = {8, 4, 2, 1};

class CDecoder {
 public:
  CDecoder(const std::uint8_t* data, std::size_t size, int roundedDots)
      : data_(data),
        nibbles_(size * 2),
        mode_zero_groups_(roundedDots / 4),
        line_groups_((roundedDots + 3) / 4),
        line_(static_cast<std::size_t>((line_groups_ + 1) / 2), 0),
        previous_(line_.size(), 0) {}

  // Reads a 4-bit unit; false at the end of the input.
  bool Read4(int& out) {
    if (pos_ >= nibbles_) return false;
    const std::uint8_t b = data_[pos_ >> 1];
    out = (pos_ & 1) ? (b & 0x0F) : (b >> 4);
    ++pos_;
    return true;
  }
  // Reads an 8-bit unit: when a low half is unread it is the unit's high half.
  bool Read8(int& out) {
    int hi = 0;
    int lo = 0;
    if (!Read4(hi) || !Read4(lo)) return false;
    out = hi << 4 | lo;
    return true;
  }

  // Decodes one line in `mode`, leaving the next mode in `next`.
  bool DecodeLine(int mode, int& next) {
    if (mode == 0) {
      for (int g = 0; g < mode_zero_groups_; ++g) {
        int p = 0;
        if (!Read4(p) || !Write(0, p)) return false;
      }
      return Read8(next);
    }
    for (;;) {
      int t = 0;
      if (!Read4(t)) return false;
      if (t >= 8 && t <= 11) {
        if (!Write(0, kDotPattern[t & 3])) return false;
        continue;
      }
      int low = 0;
      if (!Read4(low)) return false;
      const int b = t << 4 | low;
      if (b == kRasterStartOfImage) return false;
      if (b < 4 || b == kRasterEndOfImage) {
        next = b;
        return true;
      }
      bool ok = true;
      if (b <= 103) {
        ok = Write(b / 4, kDotPattern[b & 3]);
      } else if (b <= 127) {
        int p = (b / 2) % 16;
        if (p == 4) p = 3;
        ok = Write(b % 2, p);
      } else {
        int p = 0;
        if (!Read4(p)) return false;
        const int n = b % 64;
        if (p == 0) {
          ok = n == 0 || Write(n * 64 - 1, 0);
        } else if (p == 1 || p == 2 || p == 4 || p == 8) {
          ok = n >= 2 && Write(n, p);
        } else {
          ok = Write(n, p);
        }
      }
      if (!ok) return false;
    }
  }

  // Combines the line by its mode, stores its inverse at `out` (`bytes`
  // long, or nowhere when null) and starts the next line.
  void FinishLine(int mode, std::uint8_t* out, std::size_t bytes) {
    const std::size_t n = line_.size();
    if (mode == 1) {
      for (std::size_t i = 0; i < n; ++i) line_[i] ^= previous_[i];
    } else if (mode == 3) {
      for (std::size_t i = 1; i < n; ++i) line_[i] ^= line_[i - 1];
    }
    if (out != nullptr) {
      for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(~line_[i]);
    }
    line_.swap(previous_);
    std::fill(line_.begin(), line_.end(), 0);
    group_ = 0;
    pos_ = (pos_ + 1) & ~static_cast<std::size_t>(1);  // an unread low half is dropped
  }

 private:
  // Leaves `skip` groups empty and writes `pattern` into the group after them.
  bool Write(int skip, int pattern) {
    const int g = group_ + skip;
    if (g >= line_groups_) return false;
    std::uint8_t& byte = line_[static_cast<std::size_t>(g >> 1)];
    if (g & 1) {
      byte = static_cast<std::uint8_t>(byte | pattern);
    } else {
      byte = static_cast<std::uint8_t>(pattern << 4);
    }
    group_ = g + 1;
    return true;
  }

  const std::uint8_t* data_;
  std::size_t nibbles_;
  std::size_t pos_ = 0;
  int mode_zero_groups_;
  int line_groups_;
  int group_ = 0;
  std::vector<std::uint8_t> line_;
  std::vector<std::uint8_t> previous_;
};

}  // namespace

RasterDecodeResult DecodeRestrictedRaster(const std::uint8_t* data, std::size_t size,
                                          int roundedDots, int scanLines, std::uint8_t* bitmap) {
  RasterDecodeResult result;
  roundedDots = std::max(roundedDots, 0);
  const std::size_t lineBytes = static_cast<std::size_t>(roundedDots / 8);
  CDecoder d(data, size, roundedDots);
  int start = 0;
  if (!d.Read8(start) || start != kRasterStartOfImage) return result;
  int mode = 0;
  if (!d.Read8(mode)) return result;
  for (;;) {
    if (result.lines_stored >= scanLines) break;
    if (mode == kRasterEndOfImage) {
      result.ended_early = true;
      break;
    }
    if (mode > 3) return result;
    int next = 0;
    if (!d.DecodeLine(mode, next)) return result;
    d.FinishLine(mode, bitmap + lineBytes * static_cast<std::size_t>(result.lines_stored),
                 lineBytes);
    ++result.lines_stored;
    mode = next;
  }
  result.ok = true;
  return result;
}

}  // namespace kelvo
