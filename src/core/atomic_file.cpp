#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "core/errno_map.h"
#include "core/file_handle.h"

namespace kelvo {
namespace {

ErrorCode WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return MapErrno(errno, IoContext::Write);
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return ERR_OK;
}

mode_t ModeFor(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

ErrorCode WriteFileAtomically(const std::filesystem::path& path,
                              std::span<const std::uint8_t> bytes) {
  std::filesystem::path dir = path.parent_path();
  if (dir.empty()) dir = ".";
  std::string hidden = ".";
  hidden += path.filename().string();
  hidden += ".XXXXXX";
  std::string temp = (dir / hidden).string();
  FileHandle file(::mkstemp(temp.data()));
  if (file.get() < 0) return MapErrno(errno);
  ErrorCode err = ERR_OK;
  if (::fchmod(file.get(), ModeFor(path)) != 0) err = MapErrno(errno);
  if (!err) err = WriteAll(file.get(), bytes.data(), bytes.size());
  if (!err && ::fsync(file.get()) != 0) err = MapErrno(errno);
  if (!err && file.Close() != 0) err = MapErrno(errno);
  if (!err && ::rename(temp.c_str(), path.c_str()) != 0) err = MapErrno(errno);
  if (err) {
    ::unlink(temp.c_str());
    return err;
  }
  // Make the rename itself durable.
  FileHandle folder(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  return ERR_OK;
}

}  // namespace kelvo
