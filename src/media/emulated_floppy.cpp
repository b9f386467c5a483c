#include "media/emulated_floppy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "core/errno_map.h"
#include "media/sector_source.h"

namespace kelvo {
namespace {

// Blocks of cylinder 0, head 0 that read alike under every printer geometry.
constexpr std::uint32_t kSharedFirstBlocks = 9;

int SectorsForSize(off_t size) {
  switch (size) {
    case 737280:
      return 9;
    case 1228800:
      return 15;
    case 1474560:
      return 18;
    default:
      return 0;
  }
}

bool IsFormatCode(MediaKind code) {
  switch (code) {
    case MediaKind::F5_1Pt2_512:
    case MediaKind::F3_1Pt44_512:
    case MediaKind::F3_720_512:
    case MediaKind::F5_720_512:
    case MediaKind::F3_1Pt2_512:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool ParseEmulatedFloppy(const std::string& text, EmulatedFloppyOptions& options) {
  options = {};
  std::string rest = text;
  // Options stand at the end; whatever precedes them is the path, commas and all.
  for (;;) {
    std::size_t comma = rest.rfind(',');
    if (comma == std::string::npos) break;
    std::string token = rest.substr(comma + 1);
    if (token == "wp") {
      options.write_protected = true;
    } else if (token == "form=3.5") {
      options.five_inch = false;
    } else if (token == "form=5.25") {
      options.five_inch = true;
    } else if (token.rfind("form=", 0) == 0) {
      return false;
    } else {
      break;
    }
    rest.resize(comma);
  }
  options.path = rest;
  return !options.path.empty();
}

CEmulatedFloppy::CEmulatedFloppy(EmulatedFloppyOptions options) : options_(std::move(options)) {}

CEmulatedFloppy::~CEmulatedFloppy() { CloseDevice(); }

ErrorCode CEmulatedFloppy::OpenDevice() {
  if (open_) return ERR_DRIVE_LOCKED;
  read_only_file_ = false;
  fd_ = ::open(options_.path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0 && (errno == EACCES || errno == EROFS)) {
    fd_ = ::open(options_.path.c_str(), O_RDONLY | O_CLOEXEC);
    read_only_file_ = fd_ >= 0;
  }
  // A missing file is an unformatted medium: the drive still opens.
  if (fd_ < 0 && errno != ENOENT) return MapErrno(errno, IoContext::FloppyRead);
  open_ = true;
  return ERR_OK;
}

void CEmulatedFloppy::CloseDevice() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  open_ = false;
  locked_ = false;
}

ErrorCode CEmulatedFloppy::Lock(bool /*for_format*/) {
  if (!open_) return ERR_INVALID_HANDLE;
  if (ErrorCode rc = CountControl()) return rc;
  locked_ = true;
  return ERR_OK;
}

ErrorCode CEmulatedFloppy::Unlock() {
  if (!open_) return ERR_INVALID_HANDLE;
  // A failed unlock still leaves the drive unlocked, as closing would.
  locked_ = false;
  return CountControl();
}

int CEmulatedFloppy::MediumSectorsPerTrack() {
  if (fd_ < 0) return 0;
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return 0;
  return SectorsForSize(st.st_size);
}

ErrorCode CEmulatedFloppy::CheckAccess(std::uint32_t lbn, std::uint32_t count) {
  if (!open_) return ERR_INVALID_HANDLE;
  int medium = MediumSectorsPerTrack();
  if (medium == 0) return ERR_UNRECOGNIZED_MEDIA;
  int drive = drive_type_ == MediaKind::Unknown ? 0 : SectorsPerTrack(drive_type_);
  std::uint64_t end = std::uint64_t{lbn} + count;
  if (drive != medium && end > kSharedFirstBlocks) return ERR_SECTOR_NOT_FOUND;
  std::uint32_t per_cylinder = 2u * static_cast<std::uint32_t>(medium);
  if (end > std::uint64_t{kFormattedCylinders} * per_cylinder) return ERR_SECTOR_NOT_FOUND;
  if (count == 0) return ERR_OK;
  for (std::uint32_t c = lbn / per_cylinder; c <= (end - 1) / per_cylinder; ++c) {
    if (c < stale_.size() && stale_[c]) return ERR_SECTOR_NOT_FOUND;
  }
  return ERR_OK;
}

ErrorCode CEmulatedFloppy::ReadSectors(std::uint32_t lbn, std::uint32_t count,
                                       std::uint8_t* buffer) {
  if (ErrorCode rc = CountRequest()) return rc;
  if (ErrorCode rc = CheckAccess(lbn, count)) return rc;
  std::size_t bytes = std::size_t{count} * kBlockSize;
  ssize_t got = ::pread(fd_, buffer, bytes, static_cast<off_t>(lbn) * kBlockSize);
  if (got < 0) return MapErrno(errno, IoContext::FloppyRead);
  if (static_cast<std::size_t>(got) != bytes) return ERR_SECTOR_NOT_FOUND;
  return ERR_OK;
}

ErrorCode CEmulatedFloppy::WriteSectors(std::uint32_t lbn, std::uint32_t count,
                                        const std::uint8_t* buffer) {
  if (ErrorCode rc = CountRequest()) return rc;
  if (!open_) return ERR_INVALID_HANDLE;
  if (options_.write_protected || read_only_file_) return ERR_WRITE_PROTECT;
  if (ErrorCode rc = CheckAccess(lbn, count)) return rc;
  std::size_t bytes = std::size_t{count} * kBlockSize;
  ssize_t put = ::pwrite(fd_, buffer, bytes, static_cast<off_t>(lbn) * kBlockSize);
  if (put < 0) return MapErrno(errno, IoContext::FloppyWrite);
  if (static_cast<std::size_t>(put) != bytes) return ERR_WRITE_FAULT;
  return ERR_OK;
}

ErrorCode CEmulatedFloppy::EnsureFile() {
  if (fd_ >= 0) return ERR_OK;
  fd_ = ::open(options_.path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  return fd_ < 0 ? MapErrno(errno, IoContext::FloppyWrite) : ERR_OK;
}

ErrorCode CEmulatedFloppy::FormatCylinder(int cylinder, MediaKind code) {
  std::vector<MediaKind> supported;
  GetMediaTypes(supported);
  if (!IsFormatCode(code) ||
      std::find(supported.begin(), supported.end(), code) == supported.end()) {
    return ERR_UNRECOGNIZED_MEDIA;
  }
  if (ErrorCode rc = CountRequest()) return rc;
  if (!open_) return ERR_INVALID_HANDLE;
  if (options_.write_protected || read_only_file_) return ERR_WRITE_PROTECT;
  if (cylinder < 0 || cylinder >= kFormattedCylinders) return ERR_SECTOR_NOT_FOUND;
  if (ErrorCode rc = EnsureFile()) return rc;

  int spt = SectorsPerTrack(code);
  std::size_t cylinder_bytes = std::size_t{2} * static_cast<std::size_t>(spt) * kBlockSize;
  if (MediumSectorsPerTrack() != spt) {
    // A new geometry: the whole medium is laid out anew; what was on the
    // other cylinders can no longer be read until they are formatted too.
    off_t size = static_cast<off_t>(cylinder_bytes) * kFormattedCylinders;
    if (::ftruncate(fd_, 0) != 0 || ::ftruncate(fd_, size) != 0) {
      return MapErrno(errno, IoContext::FloppyWrite);
    }
    stale_.assign(kFormattedCylinders, true);
  }
  std::vector<std::uint8_t> fill(cylinder_bytes, 0xF6);
  ssize_t put = ::pwrite(fd_, fill.data(), fill.size(),
                         static_cast<off_t>(cylinder_bytes) * cylinder);
  if (put != static_cast<ssize_t>(fill.size())) return ERR_WRITE_FAULT;
  if (static_cast<std::size_t>(cylinder) < stale_.size()) stale_[cylinder] = false;
  drive_type_ = code;
  return ERR_OK;
}

ErrorCode CEmulatedFloppy::SetMediaType(MediaKind code) {
  if (!open_) return ERR_INVALID_HANDLE;
  if (ErrorCode rc = CountControl()) return rc;
  std::vector<MediaKind> supported;
  GetMediaTypes(supported);
  if (std::find(supported.begin(), supported.end(), code) == supported.end()) {
    return ERR_UNRECOGNIZED_MEDIA;
  }
  drive_type_ = code;
  return ERR_OK;
}

ErrorCode CEmulatedFloppy::GetMediaTypes(std::vector<MediaKind>& types) {
  if (options_.five_inch) {
    types = {MediaKind::F5_1Pt2_512, MediaKind::F5_720_512};
  } else {
    types = {MediaKind::F3_1Pt44_512, MediaKind::F3_720_512, MediaKind::F3_1Pt2_512};
  }
  return ERR_OK;
}

ErrorCode CEmulatedFloppy::InsertMedium(const std::string& path) {
  if (open_) return ERR_DRIVE_LOCKED;
  options_.path = path;
  drive_type_ = MediaKind::Unknown;
  stale_.clear();
  return ERR_OK;
}

}  // namespace kelvo
