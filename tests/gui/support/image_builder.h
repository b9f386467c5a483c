// Builds small disk image files for the tests with the engine.
#pragma once

#include <QString>
#include <vector>

namespace kelvo::gui::test {

struct ImageFile {
  const char* first;   // name characters 1 to 3
  const char* second;  // name characters 4 to 6
  const char* type;
  int blocks;
};

// Writes a new image holding `files` to `path`; false when that failed.
bool MakeImage(const QString& path, const std::vector<ImageFile>& files);

}  // namespace kelvo::gui::test
