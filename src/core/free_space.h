// Free space of the PC file system holding a path.
#pragma once

#include <cstdint>
#include <filesystem>

#include "core/error_codes.h"

namespace kelvo {

// Bytes available to the caller (not to the superuser) on the file system of
// `path`. When it cannot be queried the answer is 0 and `error`, if given,
// receives the reason.
std::uint64_t GetFreeSpace(const std::filesystem::path& path, ErrorCode* error = nullptr);

}  // namespace kelvo
