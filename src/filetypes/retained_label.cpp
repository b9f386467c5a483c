#include <algorithm>

#include "filetypes/file_names.h"
#include "filetypes/file_types.h"
#include "filetypes/stored_content.h"

namespace kelvo {

namespace {

constexpr std::size_t kLabelLength = 128;
constexpr std::size_t kLabelBlockLength = 512;
constexpr std::size_t kLabelNameOffset = 18;
constexpr std::size_t kLabelTypeOffset = 27;
constexpr std::size_t kLabelMarkOffset = 127;

// True when `text` (any case) followed by `tail` equals the bytes of `head`
// at `offset`; bytes beyond `head` never match.
bool MatchesAt(std::span<const std::uint8_t> head, std::size_t offset, std::string_view text,
               bool zeroAfter) {
  const std::size_t need = text.size() + (zeroAfter ? 1 : 0);
  if (offset + need > head.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (LowerAscii(static_cast<char>(head[offset + i])) != LowerAscii(text[i])) return false;
  }
  return !zeroAfter || head[offset + text.size()] == 0;
}

}  // namespace

std::size_t RetainedLabelLength(std::span<const std::uint8_t> head, std::string_view pcName) {
  // Every label is 128 bytes and ends with "*"; without both there is none,
  // so a short file is never taken for a label.
  if (head.size() < kLabelLength || head[kLabelMarkOffset] != '*') return 0;
  const SplitName split = SplitFileName(pcName);
  const std::string_view type = split.extension.empty() ? split.extension : split.extension.substr(1);
  // A comparison over no characters counts as equal.
  const bool nameMatches = MatchesAt(head, kLabelNameOffset, split.base, false);
  const bool typeMatches = type.empty() || MatchesAt(head, kLabelTypeOffset, type, true);
  if (!nameMatches && !typeMatches) return 0;
  // A label padded to a whole block: 512 only when that block is all there
  // and nothing but zero bytes follows the label in it, so data that merely
  // begins with a zero byte is kept.
  if (head.size() >= kLabelBlockLength &&
      std::all_of(head.begin() + kLabelLength, head.begin() + kLabelBlockLength,
                  [](std::uint8_t b) { return b == 0; })) {
    return kLabelBlockLength;
  }
  return kLabelLength;
}

}  // namespace kelvo
