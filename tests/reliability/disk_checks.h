// Checks on printer disks held in files, for the fault-injection tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "diskfs/consistency_check.h"
#include "diskfs/listing.h"

namespace kelvo::test {

// Whether a whole-disk operation may leave something that is no longer a
// printer disk at all (a half-formatted medium).
enum class MayBeBlank { No, Yes };

// The disk in `path` (a raw medium or an image file) passes the consistency
// check with no damage; `listing` receives its files.
::testing::AssertionResult DiskIsSound(const std::filesystem::path& path, MayBeBlank blank,
                                       DiskListing* listing = nullptr);

// The file `name` is listed with `blocks` blocks each filled with `fill`.
::testing::AssertionResult HoldsFile(const std::filesystem::path& path, const std::string& name,
                                     std::uint16_t blocks, std::uint8_t fill);

// The disk is sound, `gone` is no longer listed and `name` is held as above.
::testing::AssertionResult HoldsFileInstead(const std::filesystem::path& path, const std::string& gone,
                                            const std::string& name, std::uint16_t blocks, std::uint8_t fill);

// The consistency check finds no damage, and a finding of `kind`.
::testing::AssertionResult OnlyNote(const std::filesystem::path& path, FindingKind kind);

// Files in `folder` whose names start with "." (temporary files left behind).
int HiddenFiles(const std::filesystem::path& folder);

}  // namespace kelvo::test
