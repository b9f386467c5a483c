// Little-endian words and RADIX-50, written out here on their own so that
// test inputs never come from the engine's own encoders. The byte buffers
// are std::string or std::vector<std::uint8_t>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kelvo::test {

template <class Bytes>
std::uint16_t WordAt(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                    static_cast<std::uint8_t>(b[at + 1]) << 8);
}
template <class Bytes>
std::uint32_t Le32At(const Bytes& b, std::size_t at) {
  return WordAt(b, at) | static_cast<std::uint32_t>(WordAt(b, at + 2)) << 16;
}
template <class Bytes>
void PutWord(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<typename Bytes::value_type>(v & 0xFF);
  b[at + 1] = static_cast<typename Bytes::value_type>((v >> 8) & 0xFF);
}
template <class Bytes>
void PutLe32(Bytes& b, std::size_t at, std::uint32_t v) {
  PutWord(b, at, v & 0xFFFF);
  PutWord(b, at + 2, v >> 16);
}
template <class Bytes>
void AppendLe32(Bytes& b, std::uint32_t v) {
  b.resize(b.size() + 4);
  PutLe32(b, b.size() - 4, v);
}

// RADIX-50 of up to three characters (A-Z, $, ., 0-9; any other is code 0).
inline std::uint16_t Rad50(std::string_view text) {
  unsigned word = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    char c = i < text.size() ? text[i] : ' ';
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    unsigned code = 0;
    if (c >= 'A' && c <= 'Z') code = static_cast<unsigned>(c - 'A' + 1);
    else if (c == '$') code = 27;
    else if (c == '.') code = 28;
    else if (c >= '0' && c <= '9') code = static_cast<unsigned>(c - '0' + 30);
    word = word * 40 + code;
  }
  return static_cast<std::uint16_t>(word);
}

}  // namespace kelvo::test
