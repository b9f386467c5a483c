#include "tape/restored_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/errno_map.h"
#include "media/pc_folder_names.h"

namespace kelvo {
namespace {

constexpr std::size_t kBufferSize = 256 * 1024;

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
  // A file already there in other letter case is replaced under its name.
  name_ = PcFileNameInFolder(folder.path(), name);
  if (ErrorCode rc = file_.CreateIn(folder.fd(), name_)) return rc;
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
  ErrorCode rc = file_.Append(buffer_.data(), used_);
  used_ = 0;
  return rc;
}

ErrorCode CRestoredFile::Write(std::span<const std::uint8_t> bytes) {
  if (!file_.IsOpen()) return ERR_INVALID_HANDLE;
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
  if (!file_.IsOpen()) return ERR_INVALID_HANDLE;
  if (at_least > buffer_.size()) return ERR_NOT_ENOUGH_MEMORY;
  if (buffer_.size() - used_ < at_least) {
    if (ErrorCode rc = Flush()) return rc;
  }
  room = std::span<std::uint8_t>(buffer_).subspan(used_);
  return ERR_OK;
}

ErrorCode CRestoredFile::CommitAs(const std::string& final_name) {
  if (!file_.IsOpen()) return ERR_INVALID_HANDLE;
  ErrorCode rc = Flush();
  if (rc == ERR_OK) rc = file_.CommitAs(final_name);
  if (rc != ERR_OK) file_.Discard();
  return rc;
}

void CRestoredFile::Abandon() {
  file_.Discard();
  used_ = 0;
}

}  // namespace kelvo
