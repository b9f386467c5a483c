#include "viewers/mono_bitmap.h"

#include <algorithm>

namespace kelvo {

CMonoBitmap::CMonoBitmap(int width, int height, bool ink)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      stride_(StrideFor(width)),
      bits_(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_),
            ink ? 0x00 : 0xFF) {}

namespace {

std::uint8_t Mirror8(std::uint8_t b) {
  b = static_cast<std::uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
  b = static_cast<std::uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
  b = static_cast<std::uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
  return b;
}

}  // namespace

CMonoBitmap HalfTurn(const CMonoBitmap& src) {
  CMonoBitmap out(src.Width(), src.Height());
  const std::vector<std::uint8_t>& in = src.Bits();
  std::vector<std::uint8_t>& dst = out.Bits();
  // Reversing the whole byte sequence and mirroring each byte is the same as
  // reversing the 16-bit units and mirroring each of them.
  const std::size_t n = in.size();
  for (std::size_t i = 0; i < n; ++i) dst[i] = Mirror8(in[n - 1 - i]);
  return out;
}

CMonoBitmap QuarterTurnCcw(const CMonoBitmap& src) {
  const int w = src.PaddedWidth();
  const int h = src.Height();
  if (h == 1) return CMonoBitmap(16, w);
  CMonoBitmap out(CMonoBitmap::StrideFor(h) * 8, w);
  // Walk the source a byte at a time; each set of eight source dots lands in
  // eight consecutive rows of one output column.
  for (int j = 0; j < h; ++j) {
    const std::uint8_t* row = src.Row(j);
    const std::uint8_t outMask = static_cast<std::uint8_t>(0x80 >> (j & 7));
    const int outByte = j >> 3;
    for (int bx = 0; bx < src.Stride(); ++bx) {
      const std::uint8_t b = row[bx];
      if (b == 0xFF) continue;
      for (int bit = 0; bit < 8; ++bit) {
        if (b & (0x80 >> bit)) continue;
        const int x = bx * 8 + bit;
        std::uint8_t& d = out.Row(w - 1 - x)[outByte];
        d = static_cast<std::uint8_t>(d & ~outMask);
      }
    }
  }
  return out;
}

CMonoBitmap TurnCcw(const CMonoBitmap& src, int turns) {
  turns = ((turns % 4) + 4) % 4;
  CMonoBitmap out = src;
  for (int i = 0; i < turns; ++i) out = QuarterTurnCcw(out);
  return out;
}

void AndBlit(CMonoBitmap& dst, int dx, int dy, const CMonoBitmap& src, int sx, int sy, int w,
             int h) {
  for (int j = 0; j < h; ++j) {
    const int ty = dy + j;
    const int fy = sy + j;
    if (ty < 0 || ty >= dst.Height()) continue;
    if (fy < 0 || fy >= src.Height()) continue;
    for (int i = 0; i < w; ++i) {
      const int tx = dx + i;
      if (tx >= 0 && tx < dst.Width() && src.IsInk(sx + i, fy)) dst.SetDot(tx, ty, true);
    }
  }
}

}  // namespace kelvo
