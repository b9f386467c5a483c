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

// True when any dot in [x0, x1) of `row` is ink (a 0 bit).
bool AnyInk(const std::uint8_t* row, int x0, int x1) {
  for (int x = x0; x < x1; ++x) {
    if ((row[x >> 3] & (0x80 >> (x & 7))) == 0) return true;
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
  for (int y = 0; y < h; ++y) {
    const int a = static_cast<int>(static_cast<long long>(y) * sh / h);
    const int b = std::max(static_cast<int>(static_cast<long long>(y + 1) * sh / h), a + 1);
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
    for (int x = 0; x < w; ++x) {
      if (AnyInk(merged.data(), x0[static_cast<std::size_t>(x)], x1[static_cast<std::size_t>(x)])) {
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
      zoom_(std::clamp(options.defaultZoom, kMinZoom, kMaxZoom)),
      increment_(std::max(options.zoomIncrement, 1)) {
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
