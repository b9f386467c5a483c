// Looking at monochrome bitmaps in the viewer tests.
#pragma once

#include "viewers/mono_bitmap.h"

namespace kelvo::test {

// Where the ink of a bitmap lies and how much of it there is.
struct InkBox {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1, count = 0;
};

// The ink within the bitmap's width, or its padded width when `padding`.
InkBox FindInk(const CMonoBitmap& b, bool padding = false);

inline int CountInk(const CMonoBitmap& b, bool padding = false) {
  return FindInk(b, padding).count;
}

}  // namespace kelvo::test
