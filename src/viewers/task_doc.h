// CTaskDoc: a printer task file shown as a dump. Each 16 bytes become one
// line (offset, words in octal, words as RADIX-50, bytes as characters) and
// a blank line follows every 32 lines. Lines are made on demand from the
// file, so a large file opens at once and the document holds one block of
// it at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <array>
#include <cstdint>
#include <fstream>
#include <string>

namespace kelvo {

inline constexpr std::size_t kTaskChunk = 16;
inline constexpr std::size_t kTaskLinesPerBlock = 32;

// The dump's character for one RADIX-50 value: the letters, "$", "." and
// digits of values 1-28 and 30-39; a space for 0, 29 and anything else.
char TaskRadixChar(unsigned value);

// The dump line of `n` bytes (at most 16) found at byte `offset` of the file.
std::string TaskDumpLine(const std::uint8_t* chunk, std::size_t n, std::size_t offset);

class CTaskDoc {
 public:
  // Opens the file and takes its size; lines are read from it as they are
  // asked for, a 512-byte block at a time. False when it cannot be opened.
  bool Load(const std::string& path);
  // Uses bytes already in memory instead of a file.
  void LoadBytes(const std::string& bytes);

  std::size_t FileSize() const { return size_; }
  // Dump lines plus the blank line after every 32 of them.
  std::size_t LineCount() const;
  // Line `i` of the dump (" " for a blank line, empty past the end). A
  // file that shrank since it was opened shows what is left of it.
  std::string Line(std::size_t i) const;

 private:
  // Makes block `block` of the file the cached one; its length may be short.
  void FetchBlock(std::size_t block) const;

  std::size_t size_ = 0;
  std::string memory_;  // the bytes, when loaded from memory
  mutable std::ifstream file_;
  mutable std::array<std::uint8_t, 512> cache_{};
  mutable std::size_t cached_block_ = SIZE_MAX;
  mutable std::size_t cached_length_ = 0;
};

}  // namespace kelvo
