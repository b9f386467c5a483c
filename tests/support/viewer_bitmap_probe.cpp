#include "support/viewer_bitmap_probe.h"

#include <algorithm>

namespace kelvo::test {

InkBox FindInk(const CMonoBitmap& b, bool padding) {
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

}  // namespace kelvo::test
