#include <gtest/gtest.h>

#include <random>

#include "support/viewer_bitmap_probe.h"
#include "viewers/mono_bitmap.h"

namespace kelvo::test {
namespace {

int CountAllInk(const CMonoBitmap& b) { return CountInk(b, true); }

// A bitmap of w x h with about `density` percent ink, padding included.
CMonoBitmap RandomBitmap(std::mt19937& rng, int w, int h, int density) {
  CMonoBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < b.PaddedWidth(); ++x)
      if (static_cast<int>(rng() % 100) < density) b.SetDot(x, y, true);
  return b;
}

TEST(MonoBitmap, RowsArePaddedToWholeUnitsAndStartBlank) {
  CMonoBitmap b(17, 3);
  EXPECT_EQ(b.Stride(), 4);
  EXPECT_EQ(b.PaddedWidth(), 32);
  EXPECT_EQ(CountAllInk(b), 0);
  b.SetDot(0, 0, true);
  EXPECT_EQ(b.Row(0)[0], 0x7F);  // leftmost dot is the most significant bit, ink is 0
  b.SetDot(40, 0, true);         // outside: ignored
  b.SetDot(-1, 0, true);
  EXPECT_EQ(CountAllInk(b), 1);
  EXPECT_FALSE(b.IsInk(0, 5));
}

// Random bitmaps of awkward sizes (rows not a multiple of 8, odd widths)
// turned, checked dot by dot against the rule: output row k is the source's
// padded column W - 1 - k read from the top, everything else background.
TEST(MonoBitmap, QuarterTurnMatchesTheDotRuleOnRandomBitmaps) {
  std::mt19937 rng(11);
  const int sizes[][2] = {{1, 2}, {7, 3}, {16, 8}, {17, 9}, {33, 15}, {64, 64}, {45, 100}};
  for (const auto& size : sizes) {
    for (int density : {0, 1, 50, 100}) {
      const CMonoBitmap src = RandomBitmap(rng, size[0], size[1], density);
      const CMonoBitmap q = QuarterTurnCcw(src);
      const int w = src.PaddedWidth();
      ASSERT_EQ(q.Height(), w);
      ASSERT_EQ(q.Width(), CMonoBitmap::StrideFor(src.Height()) * 8);
      for (int k = 0; k < q.Height(); ++k) {
        for (int j = 0; j < q.PaddedWidth(); ++j) {
          const bool want = j < src.Height() && src.IsInk(w - 1 - k, j);
          ASSERT_EQ(q.IsInk(j, k), want) << size[0] << "x" << size[1] << " density " << density
                                         << " at row " << k << " dot " << j;
        }
      }
    }
  }
}

// The half turn against two quarter turns, and its padding, which moves to
// the left: a row of 8 dots padded to 16 lands in the right half.
TEST(MonoBitmap, TurnsOfASquareComposeAndHalfTurnMovesPaddingLeft) {
  CMonoBitmap b(32, 32);
  for (int i = 0; i < 32; i += 3) b.SetDot(i, (i * 7) % 32, true);
  EXPECT_EQ(TurnCcw(b, 4).Bits(), b.Bits());
  EXPECT_EQ(TurnCcw(b, 2).Bits(), HalfTurn(b).Bits());
  EXPECT_EQ(TurnCcw(b, -1).Bits(), TurnCcw(b, 3).Bits());
  CMonoBitmap narrow(8, 1);
  narrow.SetDot(7, 0, true);
  const CMonoBitmap n = HalfTurn(narrow);
  EXPECT_TRUE(n.IsInk(8, 0));
  EXPECT_EQ(CountAllInk(n), 1);
}

// Random areas, offsets inside, across and outside both bitmaps, checked dot
// by dot against the rule: an ink dot of the source inside both bitmaps
// paints the destination; everything else of the destination stays.
TEST(MonoBitmap, AndBlitMatchesTheDotRuleOnRandomAreas) {
  std::mt19937 rng(3);
  const auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 300; ++round) {
    const CMonoBitmap src = RandomBitmap(rng, 1 + below(40), 1 + below(12), below(60));
    const CMonoBitmap before = RandomBitmap(rng, 1 + below(40), 1 + below(12), 20);
    const int dx = below(60) - 20, dy = below(20) - 6, sx = below(50) - 10, sy = below(16) - 4;
    const int w = below(60), h = below(16);
    CMonoBitmap dst = before;
    AndBlit(dst, dx, dy, src, sx, sy, w, h);
    for (int y = 0; y < dst.Height(); ++y) {
      for (int x = 0; x < dst.PaddedWidth(); ++x) {
        const int i = x - dx;
        const int j = y - dy;
        const bool painted = x < dst.Width() && i >= 0 && i < w && j >= 0 && j < h &&
                             src.IsInk(sx + i, sy + j);
        ASSERT_EQ(dst.IsInk(x, y), before.IsInk(x, y) || painted)
            << "round " << round << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace kelvo::test
