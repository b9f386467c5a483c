// The image file a disk copy writes: written under a temporary name beside
// its destination and renamed over it only when the copy has succeeded, so
// a failed or stopped copy leaves no partial image (and keeps any file that
// was there before).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/error_codes.h"

namespace kelvo {

class CPartialImageFile {
 public:
  CPartialImageFile() = default;
  ~CPartialImageFile();
  CPartialImageFile(const CPartialImageFile&) = delete;
  CPartialImageFile& operator=(const CPartialImageFile&) = delete;

  // Creates the temporary file for `destination`; a new attempt discards
  // what an earlier one wrote.
  ErrorCode Create(const std::filesystem::path& destination);
  ErrorCode Append(const std::uint8_t* data, std::size_t bytes);
  // Flushes the file and renames it to the destination.
  ErrorCode Commit();

 private:
  void Discard();
  std::filesystem::path destination_;
  std::string temp_;
  int fd_ = -1;
};

// Reads a whole PC file into memory.
ErrorCode ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace kelvo
