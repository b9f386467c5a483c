// The Linux floppy backend: the floppy-controller driver (/dev/fdN), or a
// plain block device such as a USB floppy drive.
//
// Every system call goes through CFloppySyscalls so the geometry tables and
// the requests built from them can be checked without a drive.
#pragma once

#include <linux/fd.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/floppy_device.h"

namespace kelvo {

// The seam between the backend and the kernel. Results are as the system
// calls', except that failures return -errno.
class CFloppySyscalls {
 public:
  virtual ~CFloppySyscalls() = default;
  virtual int Open(const std::string& path, int flags) = 0;
  virtual void Close(int fd) = 0;
  virtual int Ioctl(int fd, unsigned long request, void* arg) = 0;
  virtual long Pread(int fd, void* buffer, std::size_t bytes, std::int64_t offset) = 0;
  virtual long Pwrite(int fd, const void* buffer, std::size_t bytes, std::int64_t offset) = 0;
};

// The real system calls.
std::shared_ptr<CFloppySyscalls> SystemFloppyCalls();

// The driver geometry of a printer format (FDSETPRM), or nothing for a code
// the printer formats do not include.
std::optional<floppy_struct> FloppyGeometry(MediaKind code);

// One track of a format request (FDFMTTRK).
format_descr FormatTrackRequest(unsigned drive, unsigned head, unsigned cylinder);

// The formats a drive handles, from its native format name (FDGETDRVTYP:
// lower-case names are 5.25-inch drives, upper-case 3.5-inch) or, when that
// is not known, from its CMOS type (FDGETDRVPRM). Empty when unknown.
std::vector<MediaKind> MediaTypesForDriveName(const std::string& name);
std::vector<MediaKind> MediaTypesForCmos(int cmos);

// The drive number at the end of a device path ("/dev/fd1" -> 1), 0 if none.
unsigned DriveNumberOfPath(const std::string& path);

class CLinuxFloppy : public CFloppyDevice {
 public:
  CLinuxFloppy(std::string path, std::shared_ptr<CFloppySyscalls> sys);
  ~CLinuxFloppy() override;
  CLinuxFloppy(const CLinuxFloppy&) = delete;
  CLinuxFloppy& operator=(const CLinuxFloppy&) = delete;

  ErrorCode OpenDevice() override;
  void CloseDevice() override;
  bool IsOpen() const override { return fd_ >= 0; }
  ErrorCode Lock(bool for_format) override;
  ErrorCode Unlock() override;
  ErrorCode ReadSectors(std::uint32_t lbn, std::uint32_t count, std::uint8_t* buffer) override;
  ErrorCode WriteSectors(std::uint32_t lbn, std::uint32_t count,
                         const std::uint8_t* buffer) override;
  ErrorCode FormatCylinder(int cylinder, MediaKind code) override;
  ErrorCode SetMediaType(MediaKind code) override;
  ErrorCode GetMediaTypes(std::vector<MediaKind>& types) override;
  std::string FormatRefusal() const override;

 private:
  // Whether the device answers the floppy-controller requests.
  bool ProbeController(int fd);
  int PlainSectorsPerTrack();
  // The descriptor for driver requests: the ioctl-only one beside a
  // read-only descriptor, else the one descriptor.
  int ControlFd() const { return control_fd_ >= 0 ? control_fd_ : fd_; }

  std::string path_;
  std::shared_ptr<CFloppySyscalls> sys_;
  int fd_ = -1;
  int control_fd_ = -1;
  bool read_only_ = false;
  bool controller_ = false;
  std::optional<bool> known_controller_;
  MediaKind geometry_ = MediaKind::Unknown;
};

}  // namespace kelvo
