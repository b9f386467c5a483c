#include "support/tape_builder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kelvo::test {
namespace {

void PutLe32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutLe16At(std::string& out, std::size_t offset, std::uint32_t v) {
  out[offset] = static_cast<char>(v & 0xFF);
  out[offset + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// RADIX-50 of up to three characters (A-Z, $, ., 0-9; others count as blank).
std::uint16_t Radix(const std::string& text) {
  std::uint32_t word = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    char c = i < text.size() ? text[i] : ' ';
    std::uint32_t code = 0;
    if (c >= 'A' && c <= 'Z') code = static_cast<std::uint32_t>(c - 'A' + 1);
    else if (c == '$') code = 27;
    else if (c == '.') code = 28;
    else if (c >= '0' && c <= '9') code = static_cast<std::uint32_t>(c - '0' + 30);
    word = word * 40 + code;
  }
  return static_cast<std::uint16_t>(word);
}

}  // namespace

TapeImageBuilder& TapeImageBuilder::Record(const std::string& data, std::uint32_t klass) {
  const std::uint32_t word = (klass << 28) | static_cast<std::uint32_t>(data.size());
  PutLe32(bytes_, word);
  bytes_ += data;
  if (data.size() & 1) bytes_.push_back('\0');
  PutLe32(bytes_, word);
  return *this;
}

TapeImageBuilder& TapeImageBuilder::Filemark() {
  PutLe32(bytes_, 0);
  return *this;
}

TapeImageBuilder& TapeImageBuilder::EndOfMedium() {
  PutLe32(bytes_, 0xFFFFFFFF);
  return *this;
}

TapeImageBuilder& TapeImageBuilder::EraseGap() {
  PutLe32(bytes_, 0xFFFFFFFE);
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
  PutLe16At(label, 0, Radix(first));
  PutLe16At(label, 2, second.empty() ? 0 : Radix(second));
  PutLe16At(label, 4, Radix(f.type));
  PutLe16At(label, 6, f.blocks <= 65535 ? f.blocks : 0);
  PutLe16At(label, 8, f.last_block_bytes);
  PutLe16At(label, 10, f.date);
  PutLe16At(label, 12, f.record_length);
  PutLe16At(label, 14, f.block_size);
  if (f.ascii) {
    for (std::size_t i = 0; i < f.name.size() && i < 6; ++i) label[18 + i] = f.name[i];
    for (std::size_t i = 0; i < f.type.size() && i < 3; ++i) label[27 + i] = f.type[i];
  }
  if (f.blocks > 65535) {
    std::string word;
    PutLe32(word, f.blocks);
    label.replace(30, 4, word);
  }
  label[127] = '*';
  return label;
}

std::uint16_t Le16At(const std::string& b, std::size_t o) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b.at(o)) |
                                    static_cast<unsigned char>(b.at(o + 1)) << 8);
}

std::uint32_t Le32At(const std::string& b, std::size_t o) {
  return static_cast<std::uint32_t>(Le16At(b, o)) | static_cast<std::uint32_t>(Le16At(b, o + 2)) << 16;
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
