// The name a file takes in a PC folder that printer files are written into.
#pragma once

#include <filesystem>
#include <string>

namespace kelvo {

// The name under which a file called `name` is written into `folder`.
// Printer names carry no letter case, so a regular file already in the
// folder whose name differs from `name` only in ASCII letter case
// (STMT.JSL for Stmt.jsl) is replaced under its own name, as an exact match
// is, instead of gaining a twin. `name` itself when it is there exactly, when
// nothing matches, or when the folder cannot be read; of several case
// variants the first in byte order.
std::string PcFileNameInFolder(const std::filesystem::path& folder, const std::string& name);

}  // namespace kelvo
