// The real system calls behind CScsiTape.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/mtio.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "tape/scsi_tape.h"

namespace kelvo {
namespace {

class CSystemTapeSyscalls : public CTapeSyscalls {
 public:
  int Open(const std::string& path, int flags) override {
    int fd = ::open(path.c_str(), flags);
    if (fd < 0) return -errno;
    // O_NONBLOCK only lets an empty drive open; the transfers themselves wait.
    if (flags & O_NONBLOCK) ::fcntl(fd, F_SETFL, flags & ~(O_NONBLOCK | O_ACCMODE | O_CLOEXEC));
    return fd;
  }
  void Close(int fd) override { ::close(fd); }
  int MtOp(int fd, short op, int count) override {
    struct mtop request {};
    request.mt_op = op;
    request.mt_count = count;
    return ::ioctl(fd, MTIOCTOP, &request) < 0 ? -errno : 0;
  }
  int MtGet(int fd, struct mtget& status) override {
    return ::ioctl(fd, MTIOCGET, &status) < 0 ? -errno : 0;
  }
  long Read(int fd, void* buffer, std::size_t length) override {
    for (;;) {
      ssize_t n = ::read(fd, buffer, length);
      if (n < 0 && errno == EINTR) continue;
      return n < 0 ? -errno : static_cast<long>(n);
    }
  }
  long Write(int fd, const void* data, std::size_t length) override {
    for (;;) {
      ssize_t n = ::write(fd, data, length);
      if (n < 0 && errno == EINTR) continue;
      return n < 0 ? -errno : static_cast<long>(n);
    }
  }
  bool ReadSmallFile(const std::string& path, std::string& text) override {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buf[256];
    ssize_t n = ::read(fd, buf, sizeof buf);
    ::close(fd);
    if (n < 0) return false;
    text.assign(buf, static_cast<std::size_t>(n));
    return true;
  }
  std::string CanonicalPath(const std::string& path) override {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
  }
};

}  // namespace

CTapeSyscalls& SystemTapeSyscalls() {
  static CSystemTapeSyscalls instance;
  return instance;
}

}  // namespace kelvo
