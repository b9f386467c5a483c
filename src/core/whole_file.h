// Reading a whole PC file into memory.
#pragma once

#include <filesystem>
#include <string>

#include "core/error_codes.h"

namespace kelvo {

// Reads a whole PC file into memory.
ErrorCode ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace kelvo
