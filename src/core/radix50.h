// RADIX-50: the printer's packing of three characters into one 16-bit word.
//
// Alphabet: 0 space (end of text), 1-26 "A"-"Z", 27 "$", 28 ".", 29 unused,
// 30-39 "0"-"9". A word is (first * 40 + second) * 40 + third.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvo {

// Encodes at most the first three characters of `text`, upper-cased. Characters
// outside the alphabet, and missing positions, become code 0.
std::uint16_t RadixEncode(std::string_view text);

// Decodes a word into 0 to 3 characters; the text ends at the first code 0, 29
// or 40 and above.
std::string RadixDecode(std::uint16_t word);

// Appends the decoded characters of `word` to `out` (which has room for 3)
// and returns how many were written.
std::size_t RadixDecodeTo(std::uint16_t word, char* out);

}  // namespace kelvo
