// Shared helpers for the tests: temporary folders and running kdu.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kelvo::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

struct CommandResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs the kdu binary with `args` (no shell involved), with HOME and the XDG
// folders pointed into a private folder so no user settings are touched.
CommandResult RunKdu(const std::vector<std::string>& args, const std::string& stdin_text = "");

// The same with HOME at `home` (XDG_CONFIG_HOME at home/config,
// XDG_STATE_HOME at home/state), so a test can prepare settings for kdu and
// look at what it leaves behind.
CommandResult RunKduIn(const std::filesystem::path& home, const std::vector<std::string>& args,
                       const std::string& stdin_text = "");

std::string ReadFileText(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// `n` deterministic bytes, zero bytes among them; `seed` tells sets apart.
// Inline: the kdisk test support uses it without this file's kdu runners.
inline std::string SeededBytes(std::size_t n, unsigned seed) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 31 + seed * 7) % 251);
  return s;
}

}  // namespace kelvo::test
