#include "diskfs/copy_disk_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "core/errno_map.h"

namespace kelvo {

CPartialImageFile::~CPartialImageFile() { Discard(); }

void CPartialImageFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

ErrorCode CPartialImageFile::Create(const std::filesystem::path& destination) {
  Discard();
  destination_ = destination;
  std::filesystem::path dir = destination.parent_path();
  if (dir.empty()) dir = ".";
  std::string temp = (dir / ("." + destination.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return MapErrno(errno);
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  fd_ = fd;
  temp_ = temp;
  return ERR_OK;
}

ErrorCode CPartialImageFile::Append(const std::uint8_t* data, std::size_t bytes) {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  while (bytes > 0) {
    ssize_t n = ::write(fd_, data, bytes);
    if (n < 0) {
      if (errno == EINTR) continue;
      return MapErrno(errno);
    }
    data += n;
    bytes -= static_cast<std::size_t>(n);
  }
  return ERR_OK;
}

ErrorCode CPartialImageFile::Commit() {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  if (::fsync(fd_) != 0) return MapErrno(errno);
  int rc = ::close(fd_);
  fd_ = -1;
  if (rc != 0) return MapErrno(errno);
  if (::rename(temp_.c_str(), destination_.c_str()) != 0) return MapErrno(errno);
  temp_.clear();
  return ERR_OK;
}

ErrorCode ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return MapErrno(errno);
  ErrorCode rc = ERR_OK;
  try {
    bytes.clear();
    char chunk[65536];
    for (;;) {
      ssize_t n = ::read(fd, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        rc = MapErrno(errno);
        break;
      }
      if (n == 0) break;
      bytes.append(chunk, static_cast<std::size_t>(n));
    }
  } catch (const std::bad_alloc&) {
    rc = ERR_NOT_ENOUGH_MEMORY;
  }
  ::close(fd);
  return rc;
}

}  // namespace kelvo
