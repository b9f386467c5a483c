#include "support/tape_builder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/words.h"

namespace kelvo::test {

TapeImageBuilder& TapeImageBuilder::Record(const std::string& data, std::uint32_t klass) {
  const std::uint32_t word = (klass << 28) | static_cast<std::uint32_t>(data.size());
  AppendLe32(bytes_, word);
  bytes_ += data;
  if (data.size() & 1) bytes_.push_back('\0');
  AppendLe32(bytes_, word);
  return *this;
}

TapeImageBuilder& TapeImageBuilder::Filemark() {
  AppendLe32(bytes_, 0);
  return *this;
}

TapeImageBuilder& TapeImageBuilder::EndOfMedium() {
  AppendLe32(bytes_, 0xFFFFFFFF);
  return *this;
}

TapeImageBuilder& TapeImageBuilder::EraseGap() {
  AppendLe32(bytes_, 0xFFFFFFFE);
  return *this;
}

TapeImageBuilder& TapeImageBuilder::Raw(const std::string& bytes) {
  bytes_ += bytes;
  return *this;
}

TapeImageBuilder& TapeImageBuilder::LabelledFile(const std::string& label, const std::string& data,
                                                 std::size_t block_size) {
  Record(label);
  for (std::size_t off = 0; off < data.size(); off += block_size) {
    std::string block = data.substr(off, block_size);
    block.resize((block.size() + 511) / 512 * 512, '\0');
    Record(block);
  }
  return Filemark();
}

void TapeImageBuilder::WriteTo(const std::filesystem::path& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
}

std::string MakeLabel(const LabelFields& f) {
  std::string label(128, '\0');
  std::string first = f.name.substr(0, 3);
  std::string second = f.name.size() > 3 ? f.name.substr(3, 3) : "";
  PutWord(label, 0, Rad50(first));
  PutWord(label, 2, second.empty() ? 0 : Rad50(second));
  PutWord(label, 4, Rad50(f.type));
  PutWord(label, 6, f.blocks <= 65535 ? f.blocks : 0);
  PutWord(label, 8, f.last_block_bytes);
  PutWord(label, 10, f.date);
  PutWord(label, 12, f.record_length);
  PutWord(label, 14, f.block_size);
  if (f.ascii) {
    for (std::size_t i = 0; i < f.name.size() && i < 6; ++i) label[18 + i] = f.name[i];
    for (std::size_t i = 0; i < f.type.size() && i < 3; ++i) label[27 + i] = f.type[i];
  }
  if (f.blocks > 65535) {
    PutLe32(label, 30, f.blocks);
  }
  label[127] = '*';
  return label;
}

std::vector<TapItem> ParseTapImage(const std::string& bytes) {
  std::vector<TapItem> items;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    if (bytes.size() - pos < 4) {
      ADD_FAILURE() << "partial length word at " << pos;
      break;
    }
    std::uint32_t word = Le32At(bytes, pos);
    if (word == 0) {
      items.push_back({true, {}});
      pos += 4;
      continue;
    }
    std::size_t n = word & 0x0FFFFFFF;
    std::size_t total = 8 + n + (n & 1);
    if (bytes.size() - pos < total || Le32At(bytes, pos + total - 4) != word) {
      ADD_FAILURE() << "damaged record at " << pos;
      break;
    }
    items.push_back({false, bytes.substr(pos + 4, n)});
    pos += total;
  }
  return items;
}

}  // namespace kelvo::test
