#include "reliability/pc_disk_full.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

extern "C" ssize_t __real_write(int fd, const void* buffer, size_t count);

namespace {

// Only the test thread writes files; the counters need no locking.
std::uint64_t g_full_at = 0;
std::uint64_t g_writes = 0;

bool IsRegularFile(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

extern "C" ssize_t __wrap_write(int fd, const void* buffer, size_t count) {
  if (count == 0 || !IsRegularFile(fd)) return __real_write(fd, buffer, count);
  const std::uint64_t n = ++g_writes;
  if (g_full_at == 0 || n < g_full_at) return __real_write(fd, buffer, count);
  if (n == g_full_at && count > 1) return __real_write(fd, buffer, count / 2);
  errno = ENOSPC;
  return -1;
}

namespace kelvo::test {

void PcDiskFull::FillAtWrite(std::uint64_t nth) {
  g_full_at = nth;
  g_writes = 0;
}

std::uint64_t PcDiskFull::Writes() { return g_writes; }

}  // namespace kelvo::test
