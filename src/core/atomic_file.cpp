#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "core/errno_map.h"

namespace kelvo {
namespace {

std::string TemporaryName(const std::string& name) {
  static std::atomic<unsigned> counter{0};
  return "." + name + ".kdu-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

}  // namespace

CAtomicFileWriter::~CAtomicFileWriter() {
  Discard();
  CloseFolder();
}

void CAtomicFileWriter::CloseFolder() {
  if (owns_folder_ && folder_fd_ >= 0) ::close(folder_fd_);
  folder_fd_ = -1;
  owns_folder_ = false;
}

void CAtomicFileWriter::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlinkat(folder_fd_, temp_.c_str(), 0);
  temp_.clear();
}

ErrorCode CAtomicFileWriter::Create(const std::filesystem::path& destination) {
  Discard();
  CloseFolder();
  std::filesystem::path dir = destination.parent_path();
  if (dir.empty()) dir = ".";
  int folder = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return MapErrno(errno);
  ErrorCode err = CreateIn(folder, destination.filename().string());
  owns_folder_ = true;
  return err;
}

ErrorCode CAtomicFileWriter::CreateIn(int folder_fd, const std::string& name) {
  Discard();
  CloseFolder();
  folder_fd_ = folder_fd;
  name_ = name;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_ = TemporaryName(name);
    fd_ = ::openat(folder_fd_, temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                   0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    const ErrorCode err = MapErrno(errno);
    temp_.clear();
    return err;
  }
  // An existing destination's permissions carry over to its replacement.
  struct stat st {};
  if (::fstatat(folder_fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
      ::fchmod(fd_, st.st_mode & 07777) != 0) {
    const ErrorCode err = MapErrno(errno);
    Discard();
    return err;
  }
  return ERR_OK;
}

ErrorCode CAtomicFileWriter::Append(const std::uint8_t* data, std::size_t bytes) {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  while (bytes > 0) {
    ssize_t n = ::write(fd_, data, bytes);
    if (n < 0) {
      if (errno == EINTR) continue;
      return MapErrno(errno, IoContext::Write);
    }
    if (n == 0) return ERR_WRITE_FAULT;
    data += n;
    bytes -= static_cast<std::size_t>(n);
  }
  return ERR_OK;
}

ErrorCode CAtomicFileWriter::CommitAs(const std::string& name) {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  ErrorCode err = ::fsync(fd_) == 0 ? ERR_OK : MapErrno(errno);
  const int rc = ::close(fd_);
  fd_ = -1;
  if (!err && rc != 0) err = MapErrno(errno);
  if (!err && ::renameat(folder_fd_, temp_.c_str(), folder_fd_, name.c_str()) != 0) {
    err = MapErrno(errno);
  }
  if (err) {
    Discard();
    return err;
  }
  temp_.clear();
  // Make the rename itself durable.
  ::fsync(folder_fd_);
  return ERR_OK;
}

ErrorCode WriteFileAtomically(const std::filesystem::path& path,
                              std::span<const std::uint8_t> bytes) {
  CAtomicFileWriter file;
  ErrorCode err = file.Create(path);
  if (!err) err = file.Append(bytes.data(), bytes.size());
  if (!err) err = file.Commit();
  return err;
}

}  // namespace kelvo
