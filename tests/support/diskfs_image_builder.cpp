#include "support/diskfs_image_builder.h"

#include <cstring>
#include <stdexcept>

namespace kelvo::test {
namespace {

struct Row {
  const char* type;
  int sectors;
};
const Row kRows[35] = {{"$Y$", 1}, {"CMD", 2}, {"CME", 1}, {"DAT", 1}, {"FIS", 1}, {"FN6", 2},
                       {"FNT", 5}, {"FR6", 2}, {"FRM", 5}, {"FSL", 5}, {"ICT", 2}, {"IDR", 2},
                       {"IM6", 3}, {"IMG", 2}, {"VFF", 1}, {"VFM", 1}, {"ISL", 2}, {"JDL", 4},
                       {"JSL", 4}, {"LG6", 2}, {"LGO", 2}, {"LIB", 2}, {"LOG", 2}, {"MSC", 1},
                       {"OSD", 1}, {"PCH", 5}, {"PDE", 3}, {"SAF", 2}, {"STK", 2}, {"SYS", 1},
                       {"TPF", 1}, {"TMP", 1}, {"TSK", 2}, {"TST", 1}, {"KCS", 1}};

}  // namespace

ImageBuilder::ImageBuilder(bool high_density, std::uint32_t image_blocks)
    : bytes_(std::size_t{image_blocks} * 512, 0) {
  if (image_blocks < 80) throw std::invalid_argument("an image needs 80 blocks");
  const std::uint16_t highest = high_density ? 2339 : 1403;
  SetWord(512 + 2, highest);
  SetWord(512 + 4, 2);
  SetWord(512 + 6, high_density ? 15 : 9);
  SetWord(512 + 8, 1);
  SetWord(512 + 12, 4);
  SetWord(512 + 16, 1);
  std::memcpy(bytes_.data() + 512 + 66, "IDKelvo Disk Utility", 20);
  int lbn = 5;
  for (int r = 0; r < 35; ++r) {
    SetWord(512 + 100 + 6 * r, Rad50(kRows[r].type));
    SetWord(512 + 100 + 6 * r + 4, static_cast<std::uint16_t>(lbn));
    for (int s = 0; s < kRows[r].sectors; ++s, ++lbn)
      if (s + 1 < kRows[r].sectors) SetWord(std::size_t(lbn) * 512 + 2, static_cast<std::uint16_t>(lbn + 1));
  }
  PutEntry(5, 0, "BADBLK", {0, 0, 0, 1, 0, 1, 0, 0, 3});
  PutEntry(5, 1, "BITMAP", {0, 0, 0, 1, 0, 1, 0, 0, 4});
  SetFree(80, highest - 79u, true);
}

void ImageBuilder::SetWord(std::size_t offset, std::uint16_t value) { PutWord(bytes_, offset, value); }

std::uint16_t ImageBuilder::DirectoryLbn(const std::string& type) {
  int lbn = 5;
  for (const Row& r : kRows) {
    if (type == r.type) return static_cast<std::uint16_t>(lbn);
    lbn += r.sectors;
  }
  throw std::invalid_argument("unknown type " + type);
}

void ImageBuilder::PutEntry(std::uint16_t lbn, int slot, const std::string& name,
                            const std::vector<std::uint16_t>& w2_to_w10) {
  const std::size_t at = std::size_t(lbn) * 512 + 4 + std::size_t(slot) * 22;
  SetWord(at, Rad50(name.substr(0, 3)));
  SetWord(at + 2, name.size() > 3 ? Rad50(name.substr(3, 3)) : 0);
  for (std::size_t i = 0; i < 9; ++i) SetWord(at + 4 + 2 * i, i < w2_to_w10.size() ? w2_to_w10[i] : 0);
}

void ImageBuilder::AddBinaryFile(const std::string& type, int slot, const std::string& name,
                                 std::uint16_t start, std::uint16_t blocks, std::uint8_t fill) {
  PutEntry(DirectoryLbn(type), slot, name, {0, 512, 0, blocks, 0, blocks, 0, 0, start});
  const std::size_t end = (std::size_t(start) + blocks) * 512;
  if (bytes_.size() < end) bytes_.resize(end, 0);
  std::memset(bytes_.data() + std::size_t(start) * 512, fill, std::size_t(blocks) * 512);
  SetFree(start, blocks, false);
}

void ImageBuilder::SetFree(std::uint32_t first, std::uint32_t count, bool free) {
  for (std::uint32_t n = first; n < first + count; ++n) {
    const auto bit = static_cast<std::uint8_t>(1u << (n % 8));
    std::uint8_t& byte = bytes_.at(4 * 512 + n / 8);
    byte = free ? static_cast<std::uint8_t>(byte | bit) : static_cast<std::uint8_t>(byte & ~bit);
  }
}

}  // namespace kelvo::test
