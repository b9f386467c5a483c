// Reading a whole PC file (an image a disk copy writes to a drive).
#pragma once

#include <filesystem>
#include <string>

#include "core/error_codes.h"

namespace kelvo {

// Reads a whole PC file into memory.
ErrorCode ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace kelvo
