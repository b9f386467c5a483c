#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/errno_map.h"
#include "core/file_handle.h"

namespace kelvo {
namespace {

mode_t ModeFor(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

CAtomicFileWriter::~CAtomicFileWriter() { Discard(); }

void CAtomicFileWriter::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

ErrorCode CAtomicFileWriter::Create(const std::filesystem::path& destination) {
  Discard();
  destination_ = destination;
  std::filesystem::path dir = destination.parent_path();
  if (dir.empty()) dir = ".";
  std::string temp = (dir / ("." + destination.filename().string() + ".XXXXXX")).string();
  fd_ = ::mkstemp(temp.data());
  if (fd_ < 0) return MapErrno(errno);
  temp_ = temp;
  if (::fchmod(fd_, ModeFor(destination)) != 0) {
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
    data += n;
    bytes -= static_cast<std::size_t>(n);
  }
  return ERR_OK;
}

ErrorCode CAtomicFileWriter::Commit() {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  if (::fsync(fd_) != 0) return MapErrno(errno);
  int rc = ::close(fd_);
  fd_ = -1;
  if (rc != 0) return MapErrno(errno);
  if (::rename(temp_.c_str(), destination_.c_str()) != 0) return MapErrno(errno);
  temp_.clear();
  // Make the rename itself durable.
  std::filesystem::path dir = destination_.parent_path();
  if (dir.empty()) dir = ".";
  CFileHandle folder(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
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
