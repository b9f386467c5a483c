// The trace log "kdisk32.log": opened at start-up only when "Enable Trace
// File" is on, it records the moment it was opened.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace kelvo {

class CTraceLog {
 public:
  // Creates or truncates the log at `path` (creating its folder) and writes
  // the header line. When the file cannot be created the log stays closed;
  // returns whether it is open.
  bool OpenTraceLog(const std::filesystem::path& path);
  // Writes the local time, ": " and `text` (no line end added); does nothing
  // while the log is closed.
  void WriteTraceLine(const std::string& text);
  // Closes the log if it is open.
  void CloseTraceLog();
  bool IsOpen() const { return file_ != nullptr; }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
};

// Where the trace log lives: "kdisk32.log" in the "kelvo-disk-utility"
// folder of $XDG_STATE_HOME, or of ~/.local/state when that is not set.
// Empty when neither variable gives an absolute folder.
std::filesystem::path DefaultTraceLogPath();

}  // namespace kelvo
