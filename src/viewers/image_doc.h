// CImgDoc: a printer image file (".img"): a header found at offset 0, 128 or
// 512 and a restricted raster decoded into a bitmap of 1 bit per dot.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/interaction.h"
#include "viewers/rgb.h"
#include "viewers/viewer_message.h"

namespace kelvo {

inline constexpr int kImgKindImgFormat = 0;
inline constexpr int kImgKindRasterEncoding = 2;

// Dots per decoded line: 8 more when dots / 8 is odd, so a line has an even
// number of bytes.
int RoundedImageDots(int dots);

// The largest decoded bitmap an image may claim (a 17 x 22 inch page at
// 300 dpi is about 4 MB). A header asking for more is refused with
// "Insufficient Memory to Decode Bitmap" instead of tying up hundreds of
// megabytes for a small damaged file.
inline constexpr std::size_t kMaxImageBitmapBytes = std::size_t{16} << 20;

class CImgDoc {
 public:
  bool Load(const std::string& path);
  // Loads from the bytes of an image file already in memory.
  bool LoadBytes(const std::string& file);
  bool OnOpenDocument(const std::string& path, Interaction& ui);
  const ViewerMessage& Message() const { return message_; }

  int Kind() const { return kind_; }
  int ScanLines() const { return scan_lines_; }
  int DotsPerLine() const { return dots_; }
  bool Portrait() const { return portrait_; }
  Rgb InkColour() const { return ink_; }
  // Offset of the header in the file (0, 128 or 512).
  std::size_t Base() const { return base_; }
  // True when the raster ended (code 0x71) before every scan line was stored.
  bool EndedEarly() const { return ended_early_; }

  // The decoded raster: ScanLines() lines of LineBytes() bytes, 0 = ink.
  int LineBytes() const { return RoundedImageDots(dots_) / 8; }
  const std::uint8_t* Bitmap() const { return bitmap_.get(); }
  std::size_t BitmapSize() const { return bitmap_size_; }
  // The view releases the raster once it has made its own bitmap.
  void ReleaseBitmap() {
    bitmap_.reset();
    bitmap_size_ = 0;
  }

 private:
  struct FreeDeleter {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  bool Refuse(const std::string& text);

  int kind_ = 0;
  int scan_lines_ = 0;
  int dots_ = 0;
  bool portrait_ = true;
  bool ended_early_ = false;
  Rgb ink_;
  std::size_t base_ = 0;
  std::unique_ptr<std::uint8_t, FreeDeleter> bitmap_;
  std::size_t bitmap_size_ = 0;
  ViewerMessage message_;
};

}  // namespace kelvo
