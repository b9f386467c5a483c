// Writing a PC file so that it is either wholly there or not changed: the
// bytes go to a hidden temporary file beside it, flushed to disk and renamed
// over it only when all were written. A failed or abandoned write leaves no
// partial file and keeps any file that was there before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "core/error_codes.h"

namespace kelvo {

// A file written in pieces: Create (or CreateIn), Append as often as needed,
// Commit. Until Commit succeeds the destination is untouched; an object that
// ends without it removes its temporary file. The temporary file is created
// exclusively and never through a symbolic link, and the final rename
// replaces whatever entry held the name (a planted link is replaced, never
// followed).
class CAtomicFileWriter {
 public:
  CAtomicFileWriter() = default;
  ~CAtomicFileWriter();
  CAtomicFileWriter(const CAtomicFileWriter&) = delete;
  CAtomicFileWriter& operator=(const CAtomicFileWriter&) = delete;

  // Creates the temporary file for `destination` (an existing destination's
  // permissions carry over); a new call discards what an earlier one wrote.
  ErrorCode Create(const std::filesystem::path& destination);
  // The same for the file `name` in the open folder `folder_fd`, which must
  // stay open until Commit or Discard.
  ErrorCode CreateIn(int folder_fd, const std::string& name);
  ErrorCode Append(const std::uint8_t* data, std::size_t bytes);
  // Flushes the file, renames it over the destination and makes the rename
  // durable.
  ErrorCode Commit() { return CommitAs(name_); }
  // The same, under another name in the same folder.
  ErrorCode CommitAs(const std::string& name);
  // Removes the temporary file, if any.
  void Discard();
  // Whether a file is being written (created and not yet committed or
  // discarded).
  bool IsOpen() const { return fd_ >= 0; }

 private:
  void CloseFolder();

  int folder_fd_ = -1;
  bool owns_folder_ = false;
  std::string name_;
  std::string temp_;
  int fd_ = -1;
};

// Writes `bytes` as the whole of `path` through a CAtomicFileWriter.
ErrorCode WriteFileAtomically(const std::filesystem::path& path,
                              std::span<const std::uint8_t> bytes);

}  // namespace kelvo
