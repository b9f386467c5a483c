// CTaskDoc: a printer task file shown as a dump. Each 16 bytes become one
// line (offset, words in octal, words as RADIX-50, bytes as characters) and
// a blank line follows every 32 lines. Lines are made on demand from the
// file's bytes, so a large file opens at once and the document holds no
// more than the file itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvo {

inline constexpr std::size_t kTaskChunk = 16;
inline constexpr std::size_t kTaskLinesPerBlock = 32;

// The dump's character for one RADIX-50 value (0 to 39, anything else a space).
char TaskRadixChar(unsigned value);

// The dump line of `n` bytes (at most 16) found at byte `offset` of the file.
std::string TaskDumpLine(const std::uint8_t* chunk, std::size_t n, std::size_t offset);

class CTaskDoc {
 public:
  // Reads the whole file; false when it cannot be read.
  bool Load(const std::string& path);
  void LoadBytes(std::string bytes);

  std::size_t FileSize() const { return bytes_.size(); }
  // Dump lines plus the blank line after every 32 of them.
  std::size_t LineCount() const;
  // Line `i` of the dump (" " for a blank line, empty past the end).
  std::string Line(std::size_t i) const;

 private:
  std::string bytes_;
};

}  // namespace kelvo
