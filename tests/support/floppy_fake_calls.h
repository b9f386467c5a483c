// A stand-in for the kernel under the /dev/fdN floppy backend
// (CFloppySyscalls): a drive of a given kind over a medium in memory.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "media/linux_floppy.h"

namespace kelvo::test {

// A kernel stand-in: records every request with a copy of its argument.
struct Call {
  unsigned long request;
  floppy_struct geometry{};
  format_descr track{};
};

class FakeCalls : public CFloppySyscalls {
 public:
  std::string drive_name = "H1440";  // empty: not a floppy-controller device
  int cmos = 4;
  int open_error = 0;                // errno of every open with write access
  int any_open_error = 0;            // errno of every open (no such device)
  std::map<unsigned long, int> ioctl_errors;
  std::vector<int> open_flags;
  std::vector<Call> calls;
  std::vector<std::uint8_t> medium = std::vector<std::uint8_t>(1474560, 0x5A);
  int closes = 0;

  int Open(const std::string&, int flags) override {
    open_flags.push_back(flags);
    if (any_open_error != 0) return -any_open_error;
    if (open_error != 0 && (flags & O_ACCMODE) == O_RDWR) return -open_error;
    // Odd descriptors are read-only ones.
    return 8 + static_cast<int>(open_flags.size()) * 2 + ((flags & O_ACCMODE) == O_RDONLY);
  }
  void Close(int) override { ++closes; }
  int Ioctl(int fd, unsigned long request, void* arg) override {
    Call c{request};
    // Like the driver: requests that set something need write rights.
    if ((request & 0x40) != 0 && (fd & 1) != 0) return -EPERM;
    if (request == FDSETPRM) std::memcpy(&c.geometry, arg, sizeof(floppy_struct));
    if (request == FDFMTTRK) std::memcpy(&c.track, arg, sizeof(format_descr));
    calls.push_back(c);
    if (auto it = ioctl_errors.find(request); it != ioctl_errors.end()) return -it->second;
    if (request == FDGETDRVTYP) {
      if (drive_name.empty()) return -ENOTTY;
      std::strncpy(static_cast<char*>(arg), drive_name.c_str(), 16);
    }
    if (request == FDGETDRVPRM) static_cast<floppy_drive_params*>(arg)->cmos = static_cast<signed char>(cmos);
    if (request == BLKGETSIZE64) *static_cast<std::uint64_t*>(arg) = medium.size();
    return 0;
  }
  long Pread(int, void* buffer, std::size_t bytes, std::int64_t offset) override {
    if (offset + bytes > medium.size()) return -EIO;
    std::memcpy(buffer, medium.data() + offset, bytes);
    return static_cast<long>(bytes);
  }
  long Pwrite(int, const void* buffer, std::size_t bytes, std::int64_t offset) override {
    if (offset + bytes > medium.size()) return -EIO;
    std::memcpy(medium.data() + offset, buffer, bytes);
    return static_cast<long>(bytes);
  }
  std::vector<unsigned long> Requests() const {
    std::vector<unsigned long> out;
    for (const Call& c : calls) out.push_back(c.request);
    return out;
  }
};

}  // namespace kelvo::test
