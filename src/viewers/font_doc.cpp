#include "viewers/font_doc.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "core/error_text.h"
#include "core/whole_file.h"

namespace kelvo {

namespace {

bool EqualsIgnoringCase(const std::string& data, std::size_t at, const std::string& text) {
  if (at + text.size() > data.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(data[at + i])) !=
        std::tolower(static_cast<unsigned char>(text[i]))) {
      return false;
    }
  }
  return true;
}

// Copies `count` bytes of `file` from `at` into `dst`; bytes past the end of
// the file stay as they are. Returns false when the file ended early.
bool CopyBounded(const std::string& file, std::size_t at, std::uint8_t* dst, std::size_t count) {
  if (at >= file.size()) return count == 0;
  const std::size_t n = std::min(count, file.size() - at);
  std::copy(file.begin() + static_cast<std::ptrdiff_t>(at),
            file.begin() + static_cast<std::ptrdiff_t>(at + n), dst);
  return n == count;
}

}  // namespace

bool CFontDoc::Refuse(const std::string& text, Icon icon) {
  message_.text = text;
  message_.icon = icon;
  message_.beep = true;
  return false;
}

bool CFontDoc::Load(const std::string& path) {
  message_ = ViewerMessage{};
  const std::string name = FileNamePart(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return Refuse("Invalid file type", Icon::Information);
  const std::string baseName = name.substr(0, dot);

  std::string file;
  if (ReadWholeFile(path, file) != ERR_OK) {
    return Refuse(GetErrorText(ERR_FILE_NOT_FOUND), Icon::Error);
  }

  // A label kept from a tape restore spells the base name from offset 18.
  const std::string first = file.substr(0, kFontLabelSize);
  label_ = !baseName.empty() && EqualsIgnoringCase(first, 18, baseName);
  const std::size_t base = label_ ? kFontLabelSize : 0;

  if (!CopyBounded(file, base, header_.data(), kFontHeaderSize)) {
    return Refuse("Invalid Font Header", Icon::Information);
  }
  const char pitch = Pitch();
  const char orientation = Orientation();
  if ((pitch != 'F' && pitch != 'P') ||
      (orientation != 'P' && orientation != 'L' && orientation != 'I' && orientation != 'J')) {
    return Refuse("Invalid Font Header", Icon::Information);
  }
  const int type = FontType();
  if (type & kFontTypeFiveWordFst) {
    return Refuse("Five Word FST Fonts Not Yet Supported", Icon::Information);
  }
  if (type & kFontTypeKanji) return Refuse("Kanji Fonts Not Yet Supported", Icon::Information);
  if (type & kFontTypeDoubleByte) {
    return Refuse("Double-byte Fonts Not Yet Supported", Icon::Information);
  }

  for (int code = 0; code < 256; ++code) spacing_[code] = header_[256 + code];
  if (header_[257] == 255) {
    for (int code = 1; code <= HighestCode(); ++code) spacing_[code] = spacing_[0];
  }
  if (spacing_[0] == 0) return Refuse("Vellumtype Fonts Not Yet Supported", Icon::Information);

  fst_entry_size_ = (type & kFontTypeFiveWordFst) ? 10 : 8;
  const int entries = HighestCode() + 1;
  try {
    fst_.assign(static_cast<std::size_t>(entries) * kFstSlotSize, 0);
  } catch (const std::bad_alloc&) {
    return Refuse("Insufficient memory for Font Specification Table", Icon::Error);
  }
  const std::size_t fstStart = base + kFontHeaderSize;
  for (int i = 0; i < entries; ++i) {
    if (!CopyBounded(file, fstStart + static_cast<std::size_t>(i) * fst_entry_size_,
                     fst_.data() + static_cast<std::size_t>(i) * kFstSlotSize,
                     static_cast<std::size_t>(fst_entry_size_))) {
      truncated_ = true;
    }
  }

  // The FST fills whole blocks of 64 entries; the matrix follows them.
  matrix_offset_ = base + kFontHeaderSize * (1 + static_cast<std::size_t>((entries + 63) / 64));
  std::size_t matrixSize = static_cast<std::size_t>(MatrixSizeField());
  if (type & kFontTypeWordMatrix) matrixSize *= 2;
  try {
    matrix_.assign(matrixSize, 0);
  } catch (const std::bad_alloc&) {
    return Refuse("Insufficient memory for Font Matrix", Icon::Error);
  }
  if (!CopyBounded(file, matrix_offset_, matrix_.data(), matrixSize)) truncated_ = true;
  for (std::size_t i = 0; i + 1 < matrix_.size(); i += 2) std::swap(matrix_[i], matrix_[i + 1]);
  return true;
}

bool CFontDoc::OnOpenDocument(const std::string& path, Interaction& ui) {
  if (Load(path)) return true;
  ShowViewerMessage(ui, message_);
  return false;
}

FstEntry CFontDoc::Entry(int code) const {
  FstEntry e;
  if (code < 0 || static_cast<std::size_t>(code + 1) * kFstSlotSize > fst_.size()) return e;
  const std::uint8_t* p = fst_.data() + static_cast<std::size_t>(code) * kFstSlotSize;
  e.placement = static_cast<std::uint16_t>(p[0] | p[1] << 8);
  e.address = static_cast<std::uint16_t>(p[2] | p[3] << 8);
  e.rows_negated = p[4];
  e.length_negated = p[5];
  return e;
}

std::vector<FontProperty> FontProperties(const CFontDoc& doc) {
  auto dots = [](int v) { return std::to_string(v) + " dots"; };
  return {
      {{"Orientation"}, OrientationText(doc.Orientation())},
      {{"Pitch"}, PitchText(doc.Pitch())},
      {{"Font Type"}, FontTypeText(doc.FontType())},
      {{"Size"}, std::to_string(doc.SizeInPoints()) + " point"},
      {{"Line Spacing"}, dots(doc.LineSpacing())},
      {{"Average", "Character Spacing"}, dots(doc.AverageSpacing())},
      {{"Baseline to", "Top of Cell"}, dots(doc.BaselineToTop())},
      {{"Baseline to", "Bottom of Cell"}, dots(doc.BaselineToBottom())},
  };
}

const char* OrientationText(char orientation) {
  switch (orientation) {
    case 'P': return "Portrait";
    case 'L': return "Landscape";
    case 'I': return "Inverse Portrait";
    case 'J': return "Inverse Landscape";
    default: return "";
  }
}

const char* PitchText(char pitch) { return pitch == 'F' ? "Fixed" : "Proportional"; }

const char* FontTypeText(int fontType) {
  switch (fontType) {
    case 0: return "Alphanumeric";
    case 1: return "EBDCIC";
    case 2: return "Kanji";
    case 4: return "Alphanumeric";
    case 8: return "Five Word FST";
    case 16: return "Double Byte";
    default: return "Unknown";
  }
}

}  // namespace kelvo
