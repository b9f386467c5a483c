// What the image view shows: the full bitmap of a decoded image, scaled by a
// zoom percentage and turned in counter-clockwise quarter turns.
#pragma once

#include <string>

#include "viewers/image_doc.h"
#include "viewers/mono_bitmap.h"

namespace kelvo {

// The decoded raster as a bitmap of DotsPerLine() x ScanLines() dots, built
// from rows of the decoded line length (dots past it are background).
CMonoBitmap MakeFullBitmap(const CImgDoc& doc);

// Scales `src` to w x h dots. When a destination dot covers several source
// dots it is ink if any of them is, so thin lines survive shrinking.
CMonoBitmap StretchInkWins(const CMonoBitmap& src, int w, int h);

// The display bitmap: the full bitmap at `zoom` percent (width and height
// truncated, then rounded up to multiples of 16), turned `quarterTurns`
// times counter-clockwise.
CMonoBitmap BuildDisplayBitmap(const CMonoBitmap& full, int zoom, int quarterTurns);

struct ImageViewOptions {
  int default_zoom = 50;    // "Default Zoom"
  int zoom_increment = 5;   // "Zoom Increment"
};

// The state of one image view: zoom, turns and the display bitmap.
class CImgViewModel {
 public:
  // The zoom is kept between these whatever the settings say.
  static constexpr int kMinZoom = 1;
  static constexpr int kMaxZoom = 1000;
  static constexpr int kMargin = 20;

  // Makes the full bitmap from `doc`, releases the document's raster and
  // builds the display bitmap turned one quarter turn.
  CImgViewModel(CImgDoc& doc, const ImageViewOptions& options);

  bool CanZoomIn() const { return zoom_ != 100 && zoom_ < kMaxZoom; }
  bool CanZoomOut() const { return zoom_ != 10 && zoom_ > kMinZoom; }
  void ZoomIn();
  void ZoomOut();
  // One more quarter turn; false (and the message) when memory ran out.
  bool Rotate(std::string* message = nullptr);

  int Zoom() const { return zoom_; }
  int QuarterTurns() const { return turns_; }
  Rgb InkColour() const { return ink_; }
  const CMonoBitmap& Full() const { return full_; }
  const CMonoBitmap& Display() const { return display_; }
  // The display bitmap plus 40 in each direction.
  int ScrollWidth() const { return display_.Width() + 2 * kMargin; }
  int ScrollHeight() const { return display_.Height() + 2 * kMargin; }

 private:
  void Rebuild();

  CMonoBitmap full_;
  CMonoBitmap display_;
  Rgb ink_;
  int zoom_;
  int increment_;
  int turns_ = 1;
};

}  // namespace kelvo
