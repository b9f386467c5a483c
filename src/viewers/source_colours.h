// Colouring of source lines by the syntax of the source type.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "viewers/rgb.h"

namespace kelvo {

enum class SourceClass : std::uint8_t {
  kNormal,        // black
  kComment,       // line comment: dark green
  kLabel,         // magenta
  kDotCommand,    // magenta
  kBlockComment,  // dark green
  kSequence,      // columns 72 and beyond: blue
};

// The first column of a record's sequence area.
inline constexpr std::size_t kSequenceColumn = 72;
// Tab stops every this many columns when a line is shown.
inline constexpr int kSourceTabWidth = 8;

Rgb SourceClassColour(SourceClass c);

// The class of every character of `text` (columns from 0), by the rules of
// `sourceType`: later rules override earlier ones.
std::vector<SourceClass> ClassifySourceLine(std::string_view text, int sourceType);

// One character position of a line as shown: tabs expanded with spaces to
// the next tab stop, a line feed shown as a space.
struct SourceCell {
  char ch;
  SourceClass cls;
};
std::vector<SourceCell> SourceDisplayCells(std::string_view text, int sourceType);

}  // namespace kelvo
