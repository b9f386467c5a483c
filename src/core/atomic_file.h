// Writing a PC file so that it is either wholly there or not changed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "core/error_codes.h"

namespace kelvo {

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`. An existing file keeps its permissions. On failure
// the old file (if any) is left as it was and the temporary file removed.
ErrorCode WriteFileAtomically(const std::filesystem::path& path,
                              std::span<const std::uint8_t> bytes);

}  // namespace kelvo
