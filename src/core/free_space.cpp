#include "core/free_space.h"

#include <sys/statvfs.h>

#include <cerrno>

#include "core/errno_map.h"

namespace kelvo {

std::uint64_t GetFreeSpace(const std::filesystem::path& path, ErrorCode* error) {
  struct statvfs info {};
  if (statvfs(path.c_str(), &info) != 0) {
    if (error != nullptr) *error = MapErrno(errno);
    return 0;
  }
  if (error != nullptr) *error = ERR_OK;
  return static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
}

}  // namespace kelvo
