#include "transfer/transfer_places.h"

#include <cctype>

namespace kelvo {
namespace {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

CPlaceWindow* CPlaceWindowList::FindWindow(std::string_view place_text) {
  for (CPlaceWindow* window : windows_) {
    if (SameTextIgnoringCase(window->Title(), place_text)) return window;
  }
  return nullptr;
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
