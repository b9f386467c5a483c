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

namespace {

// Transposes an 8 x 8 block of dots held as eight bytes, the first row in
// the most significant byte: afterwards byte k (from the top) holds column k,
// its most significant bit from the first row.
std::uint64_t Transpose8x8(std::uint64_t x) {
  std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
  x = x ^ t ^ (t << 7);
  t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
  x = x ^ t ^ (t << 14);
  t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
  return x ^ t ^ (t << 28);
}

}  // namespace

CMonoBitmap QuarterTurnCcw(const CMonoBitmap& src) {
  const int w = src.PaddedWidth();
  const int h = src.Height();
  if (h == 1) return CMonoBitmap(16, w);
  CMonoBitmap out(CMonoBitmap::StrideFor(h) * 8, w);
  // Eight source rows at a time: each byte column of them is an 8 x 8 block
  // of dots that lands, transposed, in one byte of eight output rows. Rows
  // past the source's end read as background.
  for (int j0 = 0; j0 < h; j0 += 8) {
    const int outByte = j0 >> 3;
    for (int bx = 0; bx < src.Stride(); ++bx) {
      std::uint64_t block = 0;
      for (int i = 0; i < 8; ++i) {
        const std::uint8_t b = j0 + i < h ? src.Row(j0 + i)[bx] : 0xFF;
        block = block << 8 | b;
      }
      if (block == ~std::uint64_t{0}) continue;  // all background: already so
      block = Transpose8x8(block);
      for (int k = 0; k < 8; ++k) {
        const int x = bx * 8 + k;
        out.Row(w - 1 - x)[outByte] = static_cast<std::uint8_t>(block >> (56 - 8 * k));
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
