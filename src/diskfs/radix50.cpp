#include "diskfs/radix50.h"

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

// The character of a code, or 0 when the code ends the text.
char CharOf(unsigned code) {
  if (code >= 1 && code <= 26) return static_cast<char>('A' + code - 1);
  if (code == 27) return '$';
  if (code == 28) return '.';
  if (code >= 30 && code <= 39) return static_cast<char>('0' + code - 30);
  return 0;
}

}  // namespace

bool IsRadixCharacter(char c) { return CodeOf(c) != 0; }

std::uint16_t RadixEncode(std::string_view text) {
  unsigned codes[3] = {0, 0, 0};
  for (std::size_t i = 0; i < 3 && i < text.size(); ++i) codes[i] = CodeOf(text[i]);
  return static_cast<std::uint16_t>((codes[0] * 40 + codes[1]) * 40 + codes[2]);
}

std::string RadixDecode(std::uint16_t word) {
  const unsigned codes[3] = {word / 1600u, (word / 40u) % 40u, word % 40u};
  std::string out;
  for (unsigned code : codes) {
    char c = CharOf(code);
    if (c == 0) break;
    out.push_back(c);
  }
  return out;
}

}  // namespace kelvo
