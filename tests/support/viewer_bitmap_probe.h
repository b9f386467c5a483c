// Looking at monochrome bitmaps in the viewer tests.
#pragma once

#include <algorithm>

#include "viewers/mono_bitmap.h"

namespace kelvo::test {

// Where the ink of a bitmap lies and how much of it there is.
struct InkBox {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1, count = 0;
};

// The ink within the bitmap's width, or its padded width when `padding`.
inline InkBox FindInk(const CMonoBitmap& b, bool padding = false) {
  InkBox box;
  const int width = padding ? b.PaddedWidth() : b.Width();
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < width; ++x) {
      if (!b.IsInk(x, y)) continue;
      box.x0 = std::min(box.x0, x);
      box.y0 = std::min(box.y0, y);
      box.x1 = std::max(box.x1, x);
      box.y1 = std::max(box.y1, y);
      ++box.count;
    }
  }
  return box;
}

inline int CountInk(const CMonoBitmap& b, bool padding = false) { return FindInk(b, padding).count; }

}  // namespace kelvo::test
