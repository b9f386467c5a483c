// A POSIX file descriptor closed on every path.
#pragma once

#include <unistd.h>

namespace kelvo {

class CFileHandle {
 public:
  explicit CFileHandle(int fd) : fd_(fd) {}
  ~CFileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  CFileHandle(const CFileHandle&) = delete;
  CFileHandle& operator=(const CFileHandle&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the close's own failure (data not written).
  int Close() {
    int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

}  // namespace kelvo
