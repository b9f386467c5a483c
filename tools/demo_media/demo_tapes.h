// The demo's task file and its two-volume QVA save set.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kelvo::demo {

// The task file of the demo's letter job: a header naming the task and the
// font, image and job it uses, message texts, and made-up words standing for
// its code; two 512-byte blocks.
std::string DemoTaskFile();

struct SavedFile {
  std::string name;  // NAME.EXT as on the printer disk
  std::string bytes;
  bool source = false;  // saved as 80-character records
};

// Writes a QVA save of `files` on two volumes, `folder`/qva1.tap and
// qva2.tap; returns their paths, or nothing and `error` when it failed.
std::vector<std::string> WriteQvaSet(const std::filesystem::path& folder,
                                     const std::vector<SavedFile>& files, std::string& error);

}  // namespace kelvo::demo
