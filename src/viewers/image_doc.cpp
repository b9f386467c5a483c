#include "viewers/image_doc.h"

#include <cctype>
#include <cstdio>
#include <new>

#include "core/error_text.h"
#include "core/whole_file.h"
#include "viewers/raster_decoder.h"

namespace kelvo {

namespace {

constexpr const char* kSignature = "Vellumtype/Kelvo";
constexpr const char* kImgFormat20 = "/2.0/ImgFormat/2.0";
constexpr const char* kImgFormat10 = "/1.0/ImgFormat/1.0";
constexpr const char* kRasterEncoding = "/2.1/RasterEncoding/1.0";
constexpr const char* kRestrictedEncoding = "V2.0 Restricted Raster Encoding";
constexpr std::size_t kRasterOffset = 512;

// True when `text` stands at `at`, compared over its own length ignoring case.
bool TextAt(const std::string& file, std::size_t at, const std::string& text) {
  if (at > file.size() || file.size() - at < text.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(file[at + i])) !=
        std::tolower(static_cast<unsigned char>(text[i]))) {
      return false;
    }
  }
  return true;
}

// A big-endian 16-bit number; bytes past the end of the file read as 0.
int BigEndian16(const std::string& file, std::size_t at) {
  auto byte = [&](std::size_t i) {
    return i < file.size() ? static_cast<unsigned char>(file[i]) : 0;
  };
  return byte(at) << 8 | byte(at + 1);
}

// The ink colour named at byte 154 when bytes 256 and 257 carry the marker.
Rgb ReadInkColour(const std::string& file) {
  if (file.size() < 258 || static_cast<unsigned char>(file[256]) != 0xC6 ||
      static_cast<unsigned char>(file[257]) != 0xAC) {
    return Rgb{};
  }
  std::string name;
  for (std::size_t i = 154; i < file.size() && i < 256; ++i) {
    const unsigned char c = static_cast<unsigned char>(file[i]);
    if (!std::isalpha(c)) break;
    name.push_back(static_cast<char>(std::toupper(c)));
  }
  if (name == "RED") return Rgb{255, 0, 0};
  if (name == "BLUE") return Rgb{0, 0, 255};
  if (name == "GREEN") return Rgb{0, 255, 0};
  return Rgb{};
}

}  // namespace

int RoundedImageDots(int dots) {
  if (dots <= 0) return 0;
  return (dots / 8) % 2 != 0 ? dots + 8 : dots;
}

bool CImgDoc::Refuse(const std::string& text) {
  message_.text = text;
  message_.icon = Icon::Exclamation;
  message_.beep = true;
  return false;
}

bool CImgDoc::Load(const std::string& path) {
  message_ = ViewerMessage{};
  std::string file;
  const ErrorCode rc = ReadWholeFile(path, file);
  if (rc == ERR_NOT_ENOUGH_MEMORY) return Refuse("Insufficient Memory for File Buffer");
  if (rc != ERR_OK) return Refuse(GetErrorText(ERR_FILE_NOT_FOUND));
  return LoadBytes(file);
}

bool CImgDoc::LoadBytes(const std::string& file) {
  message_ = ViewerMessage{};
  ReleaseBitmap();
  bool found = false;
  for (std::size_t base : {std::size_t{0}, std::size_t{128}, std::size_t{512}}) {
    if (TextAt(file, base, kSignature)) {
      base_ = base;
      found = true;
      break;
    }
  }
  if (!found) return Refuse("Unsupported Image Format");

  portrait_ = true;
  if (TextAt(file, base_ + 16, kImgFormat20) || TextAt(file, base_ + 16, kImgFormat10)) {
    kind_ = kImgKindImgFormat;
    scan_lines_ = BigEndian16(file, base_ + 474);
    dots_ = BigEndian16(file, base_ + 478);
  } else if (TextAt(file, base_ + 16, kRasterEncoding)) {
    if (!TextAt(file, base_ + 68, kRestrictedEncoding)) return Refuse("Unsupported Image Type");
    kind_ = kImgKindRasterEncoding;
    if (TextAt(file, base_ + 101, "Landscape")) portrait_ = false;
    scan_lines_ = BigEndian16(file, base_ + 458);
    dots_ = BigEndian16(file, base_ + 462);
  } else {
    return Refuse("Unsupported Image Type");
  }
  ink_ = ReadInkColour(file);

  const int rounded = RoundedImageDots(dots_);
  bitmap_size_ = static_cast<std::size_t>(rounded / 8) * static_cast<std::size_t>(scan_lines_);
  if (bitmap_size_ > kMaxImageBitmapBytes) {
    bitmap_size_ = 0;
    return Refuse("Insufficient Memory to Decode Bitmap");
  }
  // calloc: the zero bits (ink) of lines the raster never reaches cost
  // nothing until they are touched.
  bitmap_.reset(static_cast<std::uint8_t*>(std::calloc(bitmap_size_ == 0 ? 1 : bitmap_size_, 1)));
  if (!bitmap_) {
    bitmap_size_ = 0;
    return Refuse("Insufficient Memory to Decode Bitmap");
  }

  const std::size_t start = base_ + kRasterOffset;
  const std::uint8_t* raster = reinterpret_cast<const std::uint8_t*>(file.data()) +
                               (start < file.size() ? start : file.size());
  const std::size_t rasterSize = start < file.size() ? file.size() - start : 0;
  RasterDecodeResult r;
  try {
    r = DecodeRestrictedRaster(raster, rasterSize, rounded, scan_lines_, bitmap_.get());
  } catch (const std::bad_alloc&) {
    ReleaseBitmap();
    return Refuse("Insufficient Memory to Decode Bitmap");
  }
  if (!r.ok) {
    ReleaseBitmap();
    char text[64];
    std::snprintf(text, sizeof text, "Read Error LineNo = nScanLine = %d ", r.lines_stored);
    message_.text = text;
    message_.title = "";
    message_.icon = Icon::None;
    message_.beep = false;
    return false;
  }
  ended_early_ = r.ended_early;
  return true;
}

bool CImgDoc::OnOpenDocument(const std::string& path, Interaction& ui) {
  if (Load(path)) return true;
  ShowViewerMessage(ui, message_);
  return false;
}

}  // namespace kelvo
