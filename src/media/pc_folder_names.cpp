#include "media/pc_folder_names.h"

#include <system_error>

namespace kelvo {
namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

}  // namespace

std::string PcFileNameInFolder(const std::filesystem::path& folder, const std::string& name) {
  std::error_code ec;
  if (std::filesystem::exists(folder / name, ec)) return name;
  std::string found;
  std::filesystem::directory_iterator it(folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string candidate = it->path().filename().string();
    std::error_code type_ec;
    if (!SameIgnoringAsciiCase(candidate, name) || !it->is_regular_file(type_ec)) continue;
    if (found.empty() || candidate < found) found = candidate;
  }
  return found.empty() ? name : found;
}

}  // namespace kelvo
