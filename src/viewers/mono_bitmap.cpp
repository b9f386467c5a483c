#include "viewers/mono_bitmap.h"

#include <algorithm>
#include <array>

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

// Mirror8 of every byte value.
const std::array<std::uint8_t, 256> kMirrored = [] {
  std::array<std::uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)] = Mirror8(static_cast<std::uint8_t>(i));
  return table;
}();

}  // namespace

CMonoBitmap HalfTurn(const CMonoBitmap& src) {
  CMonoBitmap out(src.Width(), src.Height());
  const std::vector<std::uint8_t>& in = src.Bits();
  std::vector<std::uint8_t>& dst = out.Bits();
  // Reversing the whole byte sequence and mirroring each byte is the same as
  // reversing the 16-bit units and mirroring each of them.
  const std::size_t n = in.size();
  for (std::size_t i = 0; i < n; ++i) dst[i] = kMirrored[in[n - 1 - i]];
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
  // The part of the area inside both bitmaps (the source with its padding),
  // in 64-bit arithmetic so that no offset can overflow.
  auto lo = [](long long a, long long b, long long c) { return std::max({a, b, c}); };
  auto hi = [](long long a, long long b, long long c) { return std::min({a, b, c}); };
  const long long i0 = lo(0, -static_cast<long long>(dx), -static_cast<long long>(sx));
  const long long i1 = hi(w, static_cast<long long>(dst.Width()) - dx,
                          static_cast<long long>(src.PaddedWidth()) - sx);
  const long long j0 = lo(0, -static_cast<long long>(dy), -static_cast<long long>(sy));
  const long long j1 = hi(h, static_cast<long long>(dst.Height()) - dy,
                          static_cast<long long>(src.Height()) - sy);
  for (long long j = j0; j < j1; ++j) {
    const std::uint8_t* from = src.Row(static_cast<int>(sy + j));
    std::uint8_t* to = dst.Row(static_cast<int>(dy + j));
    auto one_dot = [&](long long i) {
      const auto x = static_cast<int>(sx + i);
      if ((from[x >> 3] & (0x80 >> (x & 7))) == 0) {
        const auto t = static_cast<int>(dx + i);
        to[t >> 3] = static_cast<std::uint8_t>(to[t >> 3] & ~(0x80 >> (t & 7)));
      }
    };
    long long i = i0;
    for (; i < i1 && ((dx + i) & 7) != 0; ++i) one_dot(i);
    // Whole destination bytes: the eight source dots that land on one,
    // wherever they start, ANDed in at once (ink is 0).
    for (; i + 8 <= i1; i += 8) {
      const auto x = static_cast<int>(sx + i);
      const int shift = x & 7;
      const std::uint8_t* b = from + (x >> 3);
      const auto dots = static_cast<std::uint8_t>(shift == 0 ? b[0] : (b[0] << shift | b[1] >> (8 - shift)));
      std::uint8_t& d = to[(dx + i) >> 3];
      d = static_cast<std::uint8_t>(d & dots);
    }
    for (; i < i1; ++i) one_dot(i);
  }
}

}  // namespace kelvo
