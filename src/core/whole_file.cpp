#include "core/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "core/errno_map.h"

namespace kelvo {

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
