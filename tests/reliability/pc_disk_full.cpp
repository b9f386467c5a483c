#include "reliability/pc_disk_full.h"

#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

extern "C" ssize_t __real_write(int fd, const void* buffer, size_t count);
extern "C" ssize_t __real_pwrite(int fd, const void* buffer, size_t count, off_t offset);
extern "C" ssize_t __real_pwritev(int fd, const iovec* iov, int count, off_t offset);

namespace {

// Only the test thread writes files; the counters need no locking.
std::uint64_t g_full_at = 0;
std::uint64_t g_writes = 0;

bool IsRegularFile(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// How much of a write of `count` bytes to a regular file the disk takes:
// all of it, half (the write that fills it) or nothing (-1, ENOSPC).
enum class Room { All, Half, None };

Room RoomFor(int fd, std::size_t count) {
  if (count == 0 || !IsRegularFile(fd)) return Room::All;
  const std::uint64_t n = ++g_writes;
  if (g_full_at == 0 || n < g_full_at) return Room::All;
  if (n == g_full_at && count > 1) return Room::Half;
  errno = ENOSPC;
  return Room::None;
}

}  // namespace

extern "C" ssize_t __wrap_write(int fd, const void* buffer, size_t count) {
  switch (RoomFor(fd, count)) {
    case Room::All: return __real_write(fd, buffer, count);
    case Room::Half: return __real_write(fd, buffer, count / 2);
    case Room::None: break;
  }
  return -1;
}

extern "C" ssize_t __wrap_pwrite(int fd, const void* buffer, size_t count, off_t offset) {
  switch (RoomFor(fd, count)) {
    case Room::All: return __real_pwrite(fd, buffer, count, offset);
    case Room::Half: return __real_pwrite(fd, buffer, count / 2, offset);
    case Room::None: break;
  }
  return -1;
}

extern "C" ssize_t __wrap_pwritev(int fd, const iovec* iov, int count, off_t offset) {
  std::size_t total = 0;
  for (int i = 0; i < count; ++i) total += iov[i].iov_len;
  switch (RoomFor(fd, total)) {
    case Room::All: return __real_pwritev(fd, iov, count, offset);
    case Room::Half: {
      // The pieces up to half of the bytes, the last one cut.
      std::vector<iovec> part;
      for (std::size_t left = total / 2; left > 0 && part.size() < static_cast<std::size_t>(count);) {
        iovec piece = iov[part.size()];
        if (piece.iov_len > left) piece.iov_len = left;
        left -= piece.iov_len;
        part.push_back(piece);
      }
      return __real_pwritev(fd, part.data(), static_cast<int>(part.size()), offset);
    }
    case Room::None: break;
  }
  return -1;
}

namespace kelvo::test {

void PcDiskFull::FillAtWrite(std::uint64_t nth) {
  g_full_at = nth;
  g_writes = 0;
}

std::uint64_t PcDiskFull::Writes() { return g_writes; }

}  // namespace kelvo::test
