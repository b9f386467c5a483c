#include "viewers/image_view_model.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace kelvo {

CMonoBitmap MakeFullBitmap(const CImgDoc& doc) {
  CMonoBitmap full(doc.DotsPerLine(), doc.ScanLines());
  const std::uint8_t* bits = doc.Bitmap();
  if (full.Empty() || bits == nullptr) return full;
  const std::size_t lineBytes = static_cast<std::size_t>(doc.LineBytes());
  const std::size_t copy = std::min(lineBytes, static_cast<std::size_t>(full.Stride()));
  for (int y = 0; y < full.Height(); ++y) {
    std::memcpy(full.Row(y), bits + lineBytes * static_cast<std::size_t>(y), copy);
  }
  return full;
}

namespace {

// True when any dot in [x0, x1) of `row` is ink (a 0 bit); x0 < x1.
bool AnyInk(const std::uint8_t* row, int x0, int x1) {
  const int b0 = x0 >> 3;
  const int b1 = (x1 - 1) >> 3;
  const auto head = static_cast<std::uint8_t>(0xFF >> (x0 & 7));
  const auto tail = static_cast<std::uint8_t>(0xFF << (7 - ((x1 - 1) & 7)));
  if (b0 == b1) return (~row[b0] & head & tail) != 0;
  if ((~row[b0] & head) != 0 || (~row[b1] & tail) != 0) return true;
  for (int b = b0 + 1; b < b1; ++b) {
    if (row[b] != 0xFF) return true;
  }
  return false;
}

}  // namespace

CMonoBitmap StretchInkWins(const CMonoBitmap& src, int w, int h) {
  CMonoBitmap out(w, h);
  const int sw = src.Width();
  const int sh = src.Height();
  if (out.Empty() || src.Empty()) return out;
  // Source span of each destination column.
  std::vector<int> x0(static_cast<std::size_t>(w));
  std::vector<int> x1(static_cast<std::size_t>(w));
  for (int x = 0; x < w; ++x) {
    const int a = static_cast<int>(static_cast<long long>(x) * sw / w);
    const int b = static_cast<int>(static_cast<long long>(x + 1) * sw / w);
    x0[static_cast<std::size_t>(x)] = a;
    x1[static_cast<std::size_t>(x)] = std::max(b, a + 1);
  }
  std::vector<std::uint8_t> merged(static_cast<std::size_t>(src.Stride()));
  int lastA = -1;
  int lastB = -1;
  for (int y = 0; y < h; ++y) {
    const int a = static_cast<int>(static_cast<long long>(y) * sh / h);
    const int b = std::max(static_cast<int>(static_cast<long long>(y + 1) * sh / h), a + 1);
    // Enlarged, several rows in turn cover the same source rows: the row
    // above is then the answer.
    if (a == lastA && b == lastB) {
      std::memcpy(out.Row(y), out.Row(y - 1), static_cast<std::size_t>(out.Stride()));
      continue;
    }
    lastA = a;
    lastB = b;
    // Ink wins: AND the covered rows together (0 = ink).
    std::memcpy(merged.data(), src.Row(a), merged.size());
    for (int sy = a + 1; sy < b; ++sy) {
      const std::uint8_t* row = src.Row(sy);
      for (std::size_t i = 0; i < merged.size(); ++i) merged[i] &= row[i];
    }
    bool blank = true;
    for (std::uint8_t v : merged) {
      if (v != 0xFF) {
        blank = false;
        break;
      }
    }
    if (blank) continue;
    std::uint8_t* dst = out.Row(y);
    const std::uint8_t* row = merged.data();
    if (w >= sw) {
      // Enlarged or kept: each column covers exactly one source dot.
      for (int x = 0; x < w; ++x) {
        const int a = x0[static_cast<std::size_t>(x)];
        if ((row[a >> 3] & (0x80 >> (a & 7))) == 0) {
          dst[x >> 3] = static_cast<std::uint8_t>(dst[x >> 3] & ~(0x80 >> (x & 7)));
        }
      }
      continue;
    }
    for (int x = 0; x < w; ++x) {
      if (AnyInk(row, x0[static_cast<std::size_t>(x)], x1[static_cast<std::size_t>(x)])) {
        dst[x >> 3] = static_cast<std::uint8_t>(dst[x >> 3] & ~(0x80 >> (x & 7)));
      }
    }
  }
  return out;
}

CMonoBitmap BuildDisplayBitmap(const CMonoBitmap& full, int zoom, int quarterTurns) {
  int w = static_cast<int>(static_cast<long long>(full.Width()) * zoom / 100);
  int h = static_cast<int>(static_cast<long long>(full.Height()) * zoom / 100);
  w = (w + 15) / 16 * 16;
  h = (h + 15) / 16 * 16;
  return TurnCcw(StretchInkWins(full, w, h), quarterTurns);
}

CImgViewModel::CImgViewModel(CImgDoc& doc, const ImageViewOptions& options)
    : full_(MakeFullBitmap(doc)),
      ink_(doc.InkColour()),
      zoom_(std::clamp(options.default_zoom, kMinZoom, kMaxZoom)),
      increment_(std::max(options.zoom_increment, 1)) {
  doc.ReleaseBitmap();
  Rebuild();
}

void CImgViewModel::Rebuild() { display_ = BuildDisplayBitmap(full_, zoom_, turns_); }

void CImgViewModel::ZoomIn() {
  if (!CanZoomIn()) return;
  zoom_ = std::min(zoom_ + increment_, kMaxZoom);
  Rebuild();
}

void CImgViewModel::ZoomOut() {
  if (!CanZoomOut()) return;
  zoom_ = std::max(zoom_ - increment_, kMinZoom);
  Rebuild();
}

bool CImgViewModel::Rotate(std::string* message) {
  try {
    display_ = QuarterTurnCcw(display_);
  } catch (const std::bad_alloc&) {
    if (message != nullptr) *message = "Insufficient Memory To Rotate Bitmap";
    return false;
  }
  ++turns_;
  return true;
}

}  // namespace kelvo
