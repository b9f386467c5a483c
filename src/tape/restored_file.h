// A PC file being restored from tape into a destination folder.
//
// The data go through a CAtomicFileWriter in the folder, so the file takes
// its name only when Commit succeeds and a file that fails or is abandoned
// half-way is removed: no partial file ever looks complete, and nothing is
// created through a symbolic link. A file the tape cut short is kept by
// CommitPartial under its name with ".partial" appended. Writes are buffered.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/error_codes.h"
#include "filetypes/byte_sink.h"

namespace kelvo {

// An open folder that files are restored into.
class COutputFolder {
 public:
  COutputFolder() = default;
  ~COutputFolder();
  COutputFolder(const COutputFolder&) = delete;
  COutputFolder& operator=(const COutputFolder&) = delete;

  // Opens the destination folder `path` (given by the user; it may itself be
  // reached through a link).
  ErrorCode Open(const std::string& path);
  // Opens (creating it when missing) the subfolder `name` of `parent`; a
  // symbolic link in its place is refused.
  ErrorCode OpenSubfolder(const COutputFolder& parent, const std::string& name);

  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

 private:
  void Reset();
  int fd_ = -1;
  std::string path_;
};

class CRestoredFile : public CByteSink {
 public:
  CRestoredFile() = default;
  ~CRestoredFile() override;
  CRestoredFile(const CRestoredFile&) = delete;
  CRestoredFile& operator=(const CRestoredFile&) = delete;

  // Starts the file `name` in `folder`; a file there whose name differs
  // only in letter case is the one replaced, under its own name.
  ErrorCode Create(const COutputFolder& folder, const std::string& name);
  ErrorCode Write(std::span<const std::uint8_t> bytes) override;
  // Free room of at least `at_least` bytes (at most the buffer's size) at
  // the end of the buffered data, writing out what is buffered if needed;
  // data put there count once Keep is called. Lets a reader fill the buffer
  // directly instead of through a copy.
  ErrorCode Room(std::size_t at_least, std::span<std::uint8_t>& room);
  void Keep(std::size_t n) { used_ += n; }
  // Writes the rest, and gives the file its name.
  ErrorCode Commit() { return CommitAs(name_); }
  // Writes the rest, and names the file `name` + kPartialSuffix.
  ErrorCode CommitPartial() { return CommitAs(name_ + kPartialSuffix); }
  // Removes the unfinished file.
  void Abandon();

  static constexpr const char* kPartialSuffix = ".partial";

 private:
  ErrorCode Flush();
  ErrorCode CommitAs(const std::string& final_name);

  CAtomicFileWriter file_;
  std::string name_;
  std::vector<std::uint8_t> buffer_;
  std::size_t used_ = 0;
};

}  // namespace kelvo
