// Builds printer disk images byte by byte, independently of the engine's own
// encoders, so tests can check the engine against the format itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/words.h"

namespace kelvo::test {

class ImageBuilder {
 public:
  // An empty file system: 720 KB layout (highest LBN 1403, 9 sectors) or,
  // with `high_density`, 1.2 MB (2339, 15); the image holds `image_blocks`.
  explicit ImageBuilder(bool high_density = false, std::uint32_t image_blocks = 80);

  std::vector<std::uint8_t>& bytes() { return bytes_; }
  std::string Text() const { return std::string(bytes_.begin(), bytes_.end()); }

  void SetWord(std::size_t offset, std::uint16_t value);
  // Marks `count` blocks from `first` free or used in the bitmap (LBN 4).
  void SetFree(std::uint32_t first, std::uint32_t count, bool free);

  // LBN of the first directory sector of `type` on a disk of this layout.
  static std::uint16_t DirectoryLbn(const std::string& type);

  // Writes a file entry into directory sector `lbn`, slot `slot`: name split
  // into two halves, the words w2..w10 as given.
  void PutEntry(std::uint16_t lbn, int slot, const std::string& name,
                const std::vector<std::uint16_t>& w2_to_w10);
  // A binary file of `blocks` blocks starting at `start`, data filled with
  // `fill`, bitmap bits cleared.
  void AddBinaryFile(const std::string& type, int slot, const std::string& name,
                     std::uint16_t start, std::uint16_t blocks, std::uint8_t fill);

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace kelvo::test
