#include "core/radix50.h"

namespace kelvo {
namespace {

std::uint16_t CodeOf(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint16_t>(c - 'A' + 1);
  if (c == '$') return 27;
  if (c == '.') return 28;
  if (c >= '0' && c <= '9') return static_cast<std::uint16_t>(c - '0' + 30);
  return 0;
}

}  // namespace

std::uint16_t RadixEncode(std::string_view text) {
  unsigned codes[3] = {0, 0, 0};
  for (std::size_t i = 0; i < 3 && i < text.size(); ++i) codes[i] = CodeOf(text[i]);
  return static_cast<std::uint16_t>((codes[0] * 40 + codes[1]) * 40 + codes[2]);
}

std::size_t RadixDecodeTo(std::uint16_t word, char* out) {
  // Codes 0 to 39 by table; 0 marks the codes that end the text.
  static constexpr char kChars[41] = "\0ABCDEFGHIJKLMNOPQRSTUVWXYZ$.\0" "0123456789";
  const unsigned first = word / 1600u;
  if (first >= 40 || kChars[first] == 0) return 0;
  out[0] = kChars[first];
  const unsigned second = (word / 40u) % 40u;
  if (kChars[second] == 0) return 1;
  out[1] = kChars[second];
  const unsigned third = word % 40u;
  if (kChars[third] == 0) return 2;
  out[2] = kChars[third];
  return 3;
}

std::string RadixDecode(std::uint16_t word) {
  char text[3];
  return std::string(text, RadixDecodeTo(word, text));
}

}  // namespace kelvo
