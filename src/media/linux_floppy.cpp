#include "media/linux_floppy.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <utility>

#include "core/errno_map.h"
#include "media/sector_source.h"

namespace kelvo {
namespace {

// Opening with access mode 3 lets ioctls through without a disk check.
constexpr int kIoctlOnly = 3;

class CSystemFloppyCalls : public CFloppySyscalls {
 public:
  int Open(const std::string& path, int flags) override {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    return fd < 0 ? -errno : fd;
  }
  void Close(int fd) override { ::close(fd); }
  int Ioctl(int fd, unsigned long request, void* arg) override {
    return ::ioctl(fd, request, arg) < 0 ? -errno : 0;
  }
  long Pread(int fd, void* buffer, std::size_t bytes, std::int64_t offset) override {
    ssize_t n = ::pread(fd, buffer, bytes, static_cast<off_t>(offset));
    return n < 0 ? -errno : static_cast<long>(n);
  }
  long Pwrite(int fd, const void* buffer, std::size_t bytes, std::int64_t offset) override {
    ssize_t n = ::pwrite(fd, buffer, bytes, static_cast<off_t>(offset));
    return n < 0 ? -errno : static_cast<long>(n);
  }
};

floppy_struct Geometry(unsigned size, unsigned sect, unsigned char gap, unsigned char rate,
                       unsigned char fmt_gap) {
  floppy_struct g{};
  g.size = size;
  g.sect = sect;
  g.head = kHeads;
  g.track = kFormattedCylinders;
  g.stretch = 0;
  g.gap = gap;
  g.rate = rate;
  g.spec1 = 0xDF;
  g.fmt_gap = fmt_gap;
  g.name = nullptr;
  return g;
}

}  // namespace

std::shared_ptr<CFloppySyscalls> SystemFloppyCalls() {
  static std::shared_ptr<CFloppySyscalls> calls = std::make_shared<CSystemFloppyCalls>();
  return calls;
}

std::optional<floppy_struct> FloppyGeometry(MediaKind code) {
  switch (code) {
    case MediaKind::F5_1Pt2_512:
      return Geometry(2400, 15, 0x1B, 0x00, 0x54);
    case MediaKind::F5_720_512:
      return Geometry(1440, 9, 0x23, 0x01, 0x50);
    case MediaKind::F3_720_512:
      return Geometry(1440, 9, 0x2A, 0x02, 0x50);
    case MediaKind::F3_1Pt2_512:
      return Geometry(2400, 15, 0x1B, 0x00, 0x54);
    case MediaKind::F3_1Pt44_512:
      return Geometry(2880, 18, 0x1B, 0x00, 0x6C);
    default:
      return std::nullopt;
  }
}

format_descr FormatTrackRequest(unsigned drive, unsigned head, unsigned cylinder) {
  format_descr d{};
  d.device = drive;
  d.head = head;
  d.track = cylinder;
  return d;
}

std::vector<MediaKind> MediaTypesForDriveName(const std::string& name) {
  if (name.size() < 2 || !std::isdigit(static_cast<unsigned char>(name[1]))) return {};
  int kilobytes = std::atoi(name.c_str() + 1);
  if (std::islower(static_cast<unsigned char>(name[0]))) {
    // 5.25-inch: a high-density drive does both printer formats; a
    // double-density one only the 40-track 360 KB format.
    if (kilobytes >= 1200) return {MediaKind::F5_1Pt2_512, MediaKind::F5_720_512};
    return {static_cast<MediaKind>(6)};
  }
  if (kilobytes >= 2880) {
    return {static_cast<MediaKind>(3), MediaKind::F3_1Pt44_512, MediaKind::F3_720_512,
            MediaKind::F3_1Pt2_512};
  }
  if (kilobytes >= 1440) {
    return {MediaKind::F3_1Pt44_512, MediaKind::F3_720_512, MediaKind::F3_1Pt2_512};
  }
  return {MediaKind::F3_720_512};
}

std::vector<MediaKind> MediaTypesForCmos(int cmos) {
  switch (cmos) {
    case 1:
      return MediaTypesForDriveName("d360");
    case 2:
      return MediaTypesForDriveName("h1200");
    case 3:
      return MediaTypesForDriveName("D720");
    case 4:
      return MediaTypesForDriveName("H1440");
    case 5:
    case 6:
      return MediaTypesForDriveName("E2880");
    default:
      return {};
  }
}

unsigned DriveNumberOfPath(const std::string& path) {
  std::size_t i = path.size();
  while (i > 0 && std::isdigit(static_cast<unsigned char>(path[i - 1]))) --i;
  if (i == path.size()) return 0;
  return static_cast<unsigned>(std::atoi(path.c_str() + i));
}

CLinuxFloppy::CLinuxFloppy(std::string path, std::shared_ptr<CFloppySyscalls> sys)
    : path_(std::move(path)), sys_(std::move(sys)) {}

CLinuxFloppy::~CLinuxFloppy() { CloseDevice(); }

bool CLinuxFloppy::ProbeController(int fd) {
  floppy_drive_name name{};
  bool controller = sys_->Ioctl(fd, FDGETDRVTYP, &name) == 0;
  known_controller_ = controller;
  return controller;
}

ErrorCode CLinuxFloppy::OpenDevice() {
  if (fd_ >= 0) return ERR_DRIVE_LOCKED;
  // O_EXCL keeps every other program off the drive while it is open; O_SYNC
  // makes each write reach the medium, so its error is the write's own.
  int fd = sys_->Open(path_, O_RDWR | O_EXCL | O_SYNC);
  read_only_ = false;
  if (fd == -EROFS || fd == -EACCES) {
    fd = sys_->Open(path_, O_RDONLY | O_EXCL);
    read_only_ = fd >= 0;
  }
  if (fd < 0) return MapErrno(-fd, IoContext::FloppyRead);
  fd_ = fd;
  if (read_only_) {
    // The driver takes requests that set anything (FDSETPRM) only on a
    // descriptor with write rights; an ioctl-only one has them and opens
    // without a writable disk.
    int control = sys_->Open(path_, kIoctlOnly | O_NONBLOCK);
    if (control >= 0) control_fd_ = control;
  }
  controller_ = ProbeController(ControlFd());
  geometry_ = MediaKind::Unknown;
  return ERR_OK;
}

void CLinuxFloppy::CloseDevice() {
  if (control_fd_ >= 0) sys_->Close(control_fd_);
  if (fd_ >= 0) sys_->Close(fd_);
  control_fd_ = -1;
  fd_ = -1;
}

// The exclusive open already keeps other programs away from the volume.
ErrorCode CLinuxFloppy::Lock(bool /*for_format*/) {
  return fd_ >= 0 ? ERR_OK : ERR_INVALID_HANDLE;
}

ErrorCode CLinuxFloppy::Unlock() { return fd_ >= 0 ? ERR_OK : ERR_INVALID_HANDLE; }

ErrorCode CLinuxFloppy::ReadSectors(std::uint32_t lbn, std::uint32_t count,
                                    std::uint8_t* buffer) {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  std::size_t bytes = std::size_t{count} * kBlockSize;
  long n = sys_->Pread(fd_, buffer, bytes, std::int64_t{lbn} * kBlockSize);
  if (n < 0) return MapErrno(static_cast<int>(-n), IoContext::FloppyRead);
  return static_cast<std::size_t>(n) == bytes ? ERR_OK : ERR_SECTOR_NOT_FOUND;
}

ErrorCode CLinuxFloppy::WriteSectors(std::uint32_t lbn, std::uint32_t count,
                                     const std::uint8_t* buffer) {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  if (read_only_) return ERR_WRITE_PROTECT;
  std::size_t bytes = std::size_t{count} * kBlockSize;
  long n = sys_->Pwrite(fd_, buffer, bytes, std::int64_t{lbn} * kBlockSize);
  if (n < 0) return MapErrno(static_cast<int>(-n), IoContext::FloppyWrite);
  return static_cast<std::size_t>(n) == bytes ? ERR_OK : ERR_SECTOR_NOT_FOUND;
}

ErrorCode CLinuxFloppy::FormatCylinder(int cylinder, MediaKind code) {
  std::optional<floppy_struct> geometry = FloppyGeometry(code);
  if (!geometry) return ERR_UNRECOGNIZED_MEDIA;
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  if (!controller_) return ERR_INVALID_FUNCTION;
  if (read_only_) return ERR_WRITE_PROTECT;
  if (cylinder < 0 || cylinder >= kFormattedCylinders) return ERR_SECTOR_NOT_FOUND;
  if (geometry_ != code) {
    if (ErrorCode rc = SetMediaType(code)) return rc;
  }
  unsigned drive = DriveNumberOfPath(path_);
  if (int rc = sys_->Ioctl(fd_, FDFMTBEG, nullptr)) return MapErrno(-rc, IoContext::FloppyWrite);
  for (unsigned head = 0; head < kHeads; ++head) {
    format_descr track = FormatTrackRequest(drive, head, static_cast<unsigned>(cylinder));
    if (int rc = sys_->Ioctl(fd_, FDFMTTRK, &track)) {
      sys_->Ioctl(fd_, FDFMTEND, nullptr);
      return MapErrno(-rc, IoContext::FloppyWrite);
    }
  }
  if (int rc = sys_->Ioctl(fd_, FDFMTEND, nullptr)) return MapErrno(-rc, IoContext::FloppyWrite);
  return ERR_OK;
}

int CLinuxFloppy::PlainSectorsPerTrack() {
  std::uint64_t bytes = 0;
  if (sys_->Ioctl(fd_, BLKGETSIZE64, &bytes) != 0) return 0;
  std::uint64_t per_cylinder_sector = std::uint64_t{kFormattedCylinders} * kHeads * kBlockSize;
  if (bytes == 0 || bytes % per_cylinder_sector != 0) return 0;
  return static_cast<int>(bytes / per_cylinder_sector);
}

ErrorCode CLinuxFloppy::SetMediaType(MediaKind code) {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  std::optional<floppy_struct> geometry = FloppyGeometry(code);
  if (!geometry) return ERR_UNRECOGNIZED_MEDIA;
  if (!controller_) {
    // A plain block device keeps the geometry its firmware found: accept a
    // code only when it names that geometry.
    return PlainSectorsPerTrack() == SectorsPerTrack(code) ? ERR_OK : ERR_UNRECOGNIZED_MEDIA;
  }
  if (int rc = sys_->Ioctl(ControlFd(), FDSETPRM, &*geometry)) return MapErrno(-rc, IoContext::FloppyRead);
  geometry_ = code;
  return ERR_OK;
}

ErrorCode CLinuxFloppy::GetMediaTypes(std::vector<MediaKind>& types) {
  types.clear();
  int fd = fd_;
  if (fd < 0) {
    fd = sys_->Open(path_, kIoctlOnly | O_NONBLOCK);
    if (fd < 0) return MapErrno(-fd, IoContext::FloppyRead);
  }
  floppy_drive_name name{};
  if (sys_->Ioctl(fd, FDGETDRVTYP, &name) == 0) {
    known_controller_ = true;
    std::string text(name, strnlen(name, sizeof(name)));
    types = MediaTypesForDriveName(text);
    if (types.empty()) {
      floppy_drive_params params{};
      if (sys_->Ioctl(fd, FDGETDRVPRM, &params) == 0) types = MediaTypesForCmos(params.cmos);
    }
  } else {
    // A plain block device (a USB floppy drive) handles the PC's own
    // 3.5-inch formats only.
    known_controller_ = false;
    types = {MediaKind::F3_1Pt44_512, MediaKind::F3_720_512};
  }
  if (fd != fd_) sys_->Close(fd);
  return ERR_OK;
}

std::string CLinuxFloppy::FormatRefusal() const {
  if (known_controller_.value_or(true)) return {};
  return path_ +
         " is not a floppy-controller drive (a USB floppy drive, for example): it reads and "
         "writes printer disks but cannot format them";
}

}  // namespace kelvo
