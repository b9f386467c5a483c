#include "tape/restored_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "core/errno_map.h"

namespace kelvo {
namespace {

constexpr std::size_t kBufferSize = 256 * 1024;

std::string TemporaryName(const std::string& name) {
  static std::atomic<unsigned> counter{0};
  return "." + name + ".kdu-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

}  // namespace

COutputFolder::~COutputFolder() { Reset(); }

void COutputFolder::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

ErrorCode COutputFolder::Open(const std::string& path) {
  Reset();
  fd_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return errno == ENOENT ? ERR_PATH_NOT_FOUND : MapErrno(errno);
  path_ = path;
  return ERR_OK;
}

ErrorCode COutputFolder::OpenSubfolder(const COutputFolder& parent, const std::string& name) {
  Reset();
  if (::mkdirat(parent.fd(), name.c_str(), 0777) != 0 && errno != EEXIST) {
    return MapErrno(errno);
  }
  fd_ = ::openat(parent.fd(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd_ < 0) return errno == ELOOP || errno == ENOTDIR ? ERR_ACCESS_DENIED : MapErrno(errno);
  path_ = parent.path();
  if (!path_.empty() && path_.back() != '/') path_ += '/';
  path_ += name;
  return ERR_OK;
}

CRestoredFile::~CRestoredFile() { Abandon(); }

ErrorCode CRestoredFile::Create(const COutputFolder& folder, const std::string& name) {
  Abandon();
  dir_fd_ = folder.fd();
  name_ = name;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_name_ = TemporaryName(name);
    fd_ = ::openat(dir_fd_, temp_name_.c_str(),
                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    temp_name_.clear();
    return MapErrno(errno);
  }
  try {
    buffer_.resize(kBufferSize);
  } catch (const std::bad_alloc&) {
    Abandon();
    return ERR_NOT_ENOUGH_MEMORY;
  }
  used_ = 0;
  return ERR_OK;
}

ErrorCode CRestoredFile::Flush() {
  std::size_t done = 0;
  while (done < used_) {
    ssize_t n = ::write(fd_, buffer_.data() + done, used_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? MapErrno(errno, IoContext::Write) : ERR_WRITE_FAULT;
    done += static_cast<std::size_t>(n);
  }
  used_ = 0;
  return ERR_OK;
}

ErrorCode CRestoredFile::Write(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  while (!bytes.empty()) {
    if (used_ == buffer_.size()) {
      if (ErrorCode rc = Flush()) return rc;
    }
    std::size_t take = std::min(bytes.size(), buffer_.size() - used_);
    std::memcpy(buffer_.data() + used_, bytes.data(), take);
    used_ += take;
    bytes = bytes.subspan(take);
  }
  return ERR_OK;
}

ErrorCode CRestoredFile::Room(std::size_t at_least, std::span<std::uint8_t>& room) {
  room = {};
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  if (at_least > buffer_.size()) return ERR_NOT_ENOUGH_MEMORY;
  if (buffer_.size() - used_ < at_least) {
    if (ErrorCode rc = Flush()) return rc;
  }
  room = std::span<std::uint8_t>(buffer_).subspan(used_);
  return ERR_OK;
}

ErrorCode CRestoredFile::CommitAs(const std::string& final_name) {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  ErrorCode rc = Flush();
  if (rc == ERR_OK && ::close(fd_) != 0) rc = MapErrno(errno);
  else if (rc != ERR_OK) ::close(fd_);
  fd_ = -1;
  if (rc == ERR_OK && ::renameat(dir_fd_, temp_name_.c_str(), dir_fd_, final_name.c_str()) != 0) {
    rc = MapErrno(errno);
  }
  if (rc != ERR_OK) {
    ::unlinkat(dir_fd_, temp_name_.c_str(), 0);
  }
  temp_name_.clear();
  return rc;
}

void CRestoredFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_name_.empty()) ::unlinkat(dir_fd_, temp_name_.c_str(), 0);
  temp_name_.clear();
  used_ = 0;
}

}  // namespace kelvo
