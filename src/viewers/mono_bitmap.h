// Monochrome bitmaps as the viewers draw them: 1 bit per dot, rows padded to
// whole 16-bit units, the most significant bit of each byte the leftmost dot,
// a 0 bit ink and a 1 bit background.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvo {

class CMonoBitmap {
 public:
  CMonoBitmap() = default;
  // A bitmap of `width` by `height` dots, all background (or all ink).
  CMonoBitmap(int width, int height, bool ink = false);

  // Bytes per row for a bitmap `width` dots wide (whole 16-bit units).
  static int StrideFor(int width) { return width <= 0 ? 0 : ((width + 15) / 16) * 2; }

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return stride_; }
  // The row length in dots including the padding.
  int PaddedWidth() const { return stride_ * 8; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  std::uint8_t* Row(int y) { return bits_.data() + static_cast<std::size_t>(y) * stride_; }
  const std::uint8_t* Row(int y) const {
    return bits_.data() + static_cast<std::size_t>(y) * stride_;
  }
  const std::vector<std::uint8_t>& Bits() const { return bits_; }
  std::vector<std::uint8_t>& Bits() { return bits_; }

  // True when (x, y) is an ink dot. Dots in the row padding are readable;
  // anything outside the padded rows reads as background.
  bool IsInk(int x, int y) const {
    if (x < 0 || y < 0 || x >= PaddedWidth() || y >= height_) return false;
    return (Row(y)[x >> 3] & (0x80 >> (x & 7))) == 0;
  }
  // Sets (x, y) to ink or background; dots outside the padded rows are ignored.
  void SetDot(int x, int y, bool ink) {
    if (x < 0 || y < 0 || x >= PaddedWidth() || y >= height_) return;
    std::uint8_t& b = Row(y)[x >> 3];
    const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
    if (ink) {
      b = static_cast<std::uint8_t>(b & ~mask);
    } else {
      b = static_cast<std::uint8_t>(b | mask);
    }
  }

 private:
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::vector<std::uint8_t> bits_;
};

// Half turn: the bitmap's 16-bit units in reverse order, each mirrored. The
// size stays; the row padding moves to the left end of each row.
CMonoBitmap HalfTurn(const CMonoBitmap& src);

// Quarter turn counter-clockwise: a source of padded width W and H rows
// becomes W rows of H dots (padded to whole units); row k is the source's
// column W - 1 - k read from the top down. A source of a single row gives a
// blank bitmap 16 dots wide and W rows high.
CMonoBitmap QuarterTurnCcw(const CMonoBitmap& src);

// `turns` counter-clockwise quarter turns (taken modulo 4).
CMonoBitmap TurnCcw(const CMonoBitmap& src, int turns);

// Copies the w by h area of `src` at (sx, sy) onto `dst` at (dx, dy) with
// "source AND destination": ink dots of the source paint ink, background
// dots leave the destination. Parts outside either bitmap are skipped.
void AndBlit(CMonoBitmap& dst, int dx, int dy, const CMonoBitmap& src, int sx, int sy, int w,
             int h);

}  // namespace kelvo
