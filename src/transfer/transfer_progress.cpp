#include "transfer/transfer_progress.h"

#include <vector>

namespace kelvo {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string ShortenPathText(std::string_view text, const TextFits& fits) {
  if (!fits || fits(text)) return std::string(text);
  std::size_t last = text.size();
  while (last > 0 && !IsSeparator(text[last - 1])) --last;
  if (last == 0) return std::string(text);  // no folder part to abbreviate
  const char separator = text[last - 1];
  const std::string_view name = text.substr(last);
  const std::string_view folder = text.substr(0, last - 1);

  // The folder's components; the first (the root, possibly empty) is kept.
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= folder.size(); ++i) {
    if (i == folder.size() || IsSeparator(folder[i])) {
      parts.push_back(folder.substr(start, i - start));
      start = i + 1;
    }
  }
  const std::string tail = std::string(1, separator) + std::string(name);
  // Drop components after the first, from the front of the middle, until
  // the text fits.
  for (std::size_t keep_from = 2; keep_from <= parts.size(); ++keep_from) {
    std::string candidate(parts.front());
    candidate += separator;
    candidate += "...";
    for (std::size_t i = keep_from; i < parts.size(); ++i) {
      candidate += separator;
      candidate += parts[i];
    }
    candidate += tail;
    if (fits(candidate)) return candidate;
  }
  return "..." + tail;
}

TextFits FitsCharacters(std::size_t width) {
  return [width](std::string_view text) { return text.size() <= width; };
}

}  // namespace kelvo
