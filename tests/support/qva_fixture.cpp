#include "support/qva_fixture.h"

#include <algorithm>

namespace kelvo::test {

std::vector<std::string> QvaBench::Listing() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::recursive_directory_iterator(out)) {
    if (e.is_regular_file()) names.push_back(std::filesystem::relative(e.path(), out).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace kelvo::test
