// The printer's name character set: the characters RADIX-50 can store.
//
// RADIX-50 holds blank, "A" to "Z", "$", "." and "0" to "9". Letters are
// stored upper case, so a lower-case letter counts as one of the set; a blank
// is not a character of a name (it ends the text).
#pragma once

namespace kelvo {

// True when `c` can be stored as a character of a printer name or type.
constexpr bool IsRadixChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == '$' || c == '.';
}

}  // namespace kelvo
