// CFontDoc: a printer font file (".fnt") read whole into memory: the 512-byte
// header, the Font Specification Table (one entry per character code) and
// the font matrix of glyph bitmaps.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/interaction.h"
#include "viewers/viewer_message.h"

namespace kelvo {

inline constexpr int kFontHeaderSize = 512;
inline constexpr int kFontLabelSize = 128;
// Each FST entry is kept in a slot of this many bytes, zero-filled.
inline constexpr int kFstSlotSize = 10;

// Font type values (tested as bit flags for the refusals).
inline constexpr int kFontTypeFiveWordFst = 8;
inline constexpr int kFontTypeKanji = 2;
inline constexpr int kFontTypeDoubleByte = 16;
inline constexpr int kFontTypeWordMatrix = 4;

// One FST entry as read.
struct FstEntry {
  std::uint16_t placement = 0;  // low 8 bits: placement offset; bit 15: no glyph
  std::uint16_t address = 0;    // glyph offset in the matrix, in 16-bit words
  std::uint8_t rows_negated = 0;
  std::uint8_t length_negated = 0;

  bool NoGlyph() const { return (placement & 0x8000) != 0; }
  int Offset() const { return placement & 0xFF; }
  int RowCount() const { return (256 - rows_negated) % 256; }
  int RowLength() const { return ((128 - (length_negated >> 1)) % 128); }
  std::size_t ByteOffset() const { return static_cast<std::size_t>(address) * 2; }
};

class CFontDoc {
 public:
  // Loads `path`; on refusal Message() holds what to show.
  bool Load(const std::string& path);
  // Loads and, on refusal, shows the message through `ui`.
  bool OnOpenDocument(const std::string& path, Interaction& ui);
  const ViewerMessage& Message() const { return message_; }

  const std::array<std::uint8_t, kFontHeaderSize>& Header() const { return header_; }
  char Orientation() const { return static_cast<char>(header_[0]); }
  char Pitch() const { return static_cast<char>(header_[1]); }
  int InverseLandscapeHeight() const { return Word(2); }
  int LineSpacing() const { return Word(4); }
  int AverageSpacing() const { return Word(6); }
  int BaselineToBottom() const { return Word(8); }
  int BaselineToTop() const { return Word(10); }
  int CellHeight() const { return BaselineToBottom() + BaselineToTop(); }
  int HighestCode() const { return header_[16]; }
  int MatrixSizeField() const { return Word(18); }
  int FontType() const { return Word(46); }
  int SizeInPoints() const { return LineSpacing() * 72 / 300; }

  // Spacing of `code` after the fixed-pitch rule (0 for codes past 255).
  int Spacing(int code) const { return code >= 0 && code < 256 ? spacing_[code] : 0; }
  // FST entry of `code`; a zero entry for codes past the highest.
  FstEntry Entry(int code) const;
  int FstEntrySize() const { return fst_entry_size_; }
  const std::vector<std::uint8_t>& FstSlots() const { return fst_; }
  // The matrix after the byte exchange.
  const std::vector<std::uint8_t>& Matrix() const { return matrix_; }
  std::size_t MatrixOffset() const { return matrix_offset_; }
  bool HasLabel() const { return label_; }
  // True when the file ended inside the FST or matrix (the rest reads as 0).
  bool Truncated() const { return truncated_; }

 private:
  bool Refuse(const std::string& text, Icon icon);
  int Word(int offset) const { return header_[offset] | header_[offset + 1] << 8; }

  std::array<std::uint8_t, kFontHeaderSize> header_{};
  std::array<int, 256> spacing_{};
  std::vector<std::uint8_t> fst_;
  std::vector<std::uint8_t> matrix_;
  std::size_t matrix_offset_ = 0;
  int fst_entry_size_ = 8;
  bool label_ = false;
  bool truncated_ = false;
  ViewerMessage message_;
};

// One entry of the font properties pane: a heading of one or two lines
// (drawn bold) and its value.
struct FontProperty {
  std::vector<std::string> heading;
  std::string value;
};

// The properties pane, top to bottom.
std::vector<FontProperty> FontProperties(const CFontDoc& doc);

// The properties pane's scroll size.
inline constexpr int kFontPropertiesWidth = 100;
inline constexpr int kFontPropertiesHeight = 280;

// The words of the properties pane.
const char* OrientationText(char orientation);
const char* PitchText(char pitch);
const char* FontTypeText(int fontType);

}  // namespace kelvo
