#include "transfer/transfer_places.h"

#include <cctype>

namespace kelvo {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

TransferPlace ImagePlace(CDiskImageDoc& document, std::string title) {
  return {PlaceKind::DiskImage, std::move(title), &document};
}

char FloppyLetterOfPlace(std::string_view place_text) {
  std::string_view text = place_text;
  if (!text.empty() && IsSeparator(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.back() == ')') text.remove_suffix(1);
  if (text.size() < 2 || text.back() != ':') return 0;
  const unsigned char letter = static_cast<unsigned char>(text[text.size() - 2]);
  if (!std::isalpha(letter)) return 0;
  return static_cast<char>(std::toupper(letter));
}

std::string FolderText(std::string_view folder) {
  std::string text(folder);
  if (text.empty() || !IsSeparator(text.back())) text += '/';
  return text;
}

}  // namespace kelvo
