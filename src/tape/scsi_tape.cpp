#include "tape/scsi_tape.h"

#include <fcntl.h>
#include <sys/mtio.h>

#include <cerrno>
#include <cstring>

#include "core/errno_map.h"
#include "tape/tape_features.h"

namespace kelvo {
namespace {

// What the driver interface offers on any drive it runs.
constexpr std::uint32_t kScsiFeaturesLow = kTapeFixedBlock | kTapeVariableBlock | kTapeEraseShort |
                                           kTapeEraseLong | kTapeWriteProtect |
                                           kTapeGetLogicalBlock | kTapeEjectMedia;
constexpr std::uint32_t kScsiFeaturesHigh =
    kTapeHighMarker | kTapeSetBlockSize | kTapeLoadUnload | kTapeTension | kTapeLockUnlock |
    kTapeRewindImmediate | kTapeSpaceFilemarks | kTapeSpaceRelativeBlocks |
    kTapeSpaceEndOfData | kTapeReversePosition | kTapeWriteFilemarks;

std::string Trimmed(const std::string& text, std::size_t max) {
  std::string s = text.substr(0, text.find('\n'));
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r' || s.back() == '\0')) s.pop_back();
  return s.substr(0, max);
}

}  // namespace

CScsiTape::CScsiTape(std::string path, CTapeSyscalls& sys) : path_(std::move(path)), sys_(sys) {}

CScsiTape::~CScsiTape() { Close(); }

ErrorCode CScsiTape::Open() {
  // Non-blocking so that an empty drive opens and the ready check reports it.
  int fd = sys_.Open(path_, O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd == -EROFS || fd == -EACCES) fd = sys_.Open(path_, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return MapErrno(-fd, IoContext::TapeControl);
  fd_ = fd;
  empty_reads_ = 0;
  return ERR_OK;
}

void CScsiTape::Close() {
  if (fd_ >= 0) sys_.Close(fd_);
  fd_ = -1;
}

// The driver checks the tape only when the device is opened: after an
// unload it answers "no medium" on the same descriptor even once another
// tape is in. The first request after an unload therefore opens the device
// again.
ErrorCode CScsiTape::ReopenAfterUnload() {
  if (!unloaded_) return fd_ < 0 ? ERR_INVALID_HANDLE : ERR_OK;
  unloaded_ = false;
  Close();
  return Open();
}

ErrorCode CScsiTape::Op(short op, int count) {
  if (ErrorCode rc = ReopenAfterUnload()) return rc;
  empty_reads_ = 0;
  int rc = sys_.MtOp(fd_, op, count);
  if (rc < 0) return MapErrno(-rc, IoContext::TapeControl);
  unloaded_ = op == MTOFFL;
  return ERR_OK;
}

ErrorCode CScsiTape::Status(std::uint32_t& gstat) {
  if (ErrorCode rc = ReopenAfterUnload()) return rc;
  struct mtget st;
  std::memset(&st, 0, sizeof st);
  int rc = sys_.MtGet(fd_, st);
  if (rc < 0) return MapErrno(-rc, IoContext::TapeControl);
  gstat = static_cast<std::uint32_t>(st.mt_gstat);
  return ERR_OK;
}

ErrorCode CScsiTape::ClassifyIoError(ErrorCode otherwise) {
  std::uint32_t gstat = 0;
  if (Status(gstat) == ERR_OK && GMT_EOD(gstat)) return ERR_NO_DATA_DETECTED;
  return otherwise;
}

ErrorCode CScsiTape::GetTapeStatus() {
  std::uint32_t gstat = 0;
  if (ErrorCode rc = Status(gstat)) return rc;
  if (GMT_DR_OPEN(gstat) || !GMT_ONLINE(gstat)) return ERR_NO_MEDIA_IN_DRIVE;
  return ERR_OK;
}

ErrorCode CScsiTape::RewindTape(bool) { return Op(MTREW, 1); }

ErrorCode CScsiTape::SpaceFilemarks(std::int32_t count, bool) {
  if (count == 0) return ERR_OK;
  ErrorCode rc = count > 0 ? Op(MTFSF, count) : Op(MTBSF, -count);
  if (rc == ERR_GEN_FAILURE) {
    std::uint32_t gstat = 0;
    if (Status(gstat) == ERR_OK) {
      if (count > 0 && GMT_EOD(gstat)) return ERR_NO_DATA_DETECTED;
      if (count < 0 && GMT_BOT(gstat)) return ERR_BEGINNING_OF_MEDIA;
    }
  }
  return rc;
}

ErrorCode CScsiTape::PrepareTape(TapePrepareOperation operation, bool) {
  switch (operation) {
    case TapePrepareOperation::Load:
      return Op(MTLOAD, 1);
    case TapePrepareOperation::Unload:
      return Op(MTOFFL, 1);
    case TapePrepareOperation::Tension:
      return Op(MTRETEN, 1);
  }
  return ERR_INVALID_FUNCTION;
}

ErrorCode CScsiTape::EraseTape(bool) { return Op(MTERASE, 1); }  // count 1: long erase

ErrorCode CScsiTape::WriteTapemark(std::uint32_t count, bool) {
  return Op(MTWEOF, static_cast<int>(count));
}

ErrorCode CScsiTape::SetBlockSize(std::uint32_t block_size) {
  return Op(MTSETBLK, static_cast<int>(block_size));
}

ErrorCode CScsiTape::GetMediaParameters(TapeMediaParameters& out) {
  if (ErrorCode rc = ReopenAfterUnload()) return rc;
  struct mtget st;
  std::memset(&st, 0, sizeof st);
  int rc = sys_.MtGet(fd_, st);
  if (rc < 0) return MapErrno(-rc, IoContext::TapeControl);
  const auto gstat = static_cast<std::uint32_t>(st.mt_gstat);
  if (GMT_DR_OPEN(gstat)) return ERR_NO_MEDIA_IN_DRIVE;
  out = TapeMediaParameters{};
  out.block_size =
      static_cast<std::uint32_t>((st.mt_dsreg & MT_ST_BLKSIZE_MASK) >> MT_ST_BLKSIZE_SHIFT);
  out.partition_count = 1;
  out.write_protected = GMT_WR_PROT(gstat) != 0;
  return ERR_OK;
}

ErrorCode CScsiTape::GetDriveParameters(TapeDriveParameters& out) {
  if (fd_ < 0) return ERR_INVALID_HANDLE;
  // The driver does not pass on the drive's block limits; this program never
  // uses blocks above kMaximumBlockSize.
  out = VariableBlockDrive(kMaximumBlockSize, kScsiFeaturesLow, kScsiFeaturesHigh);
  return ERR_OK;
}

ErrorCode CScsiTape::ReadBlock(void* buffer, std::size_t capacity, std::size_t& length) {
  length = 0;
  if (ErrorCode rc = ReopenAfterUnload()) return rc;
  long n = sys_.Read(fd_, buffer, capacity);
  if (n > 0) {
    empty_reads_ = 0;
    length = static_cast<std::size_t>(n);
    return ERR_OK;
  }
  if (n == 0) {
    // A filemark, or the end of data just after one: the drive's status
    // tells them apart; three empty reads in a row are taken as the end.
    ++empty_reads_;
    if (empty_reads_ >= 3) return ERR_NO_DATA_DETECTED;
    return ClassifyIoError(ERR_FILEMARK_DETECTED);
  }
  const int err = static_cast<int>(-n);
  empty_reads_ = 0;
  if (err == ENOMEM) {
    // The driver skipped the oversized block: step back before it so that a
    // retry meets it again.
    sys_.MtOp(fd_, MTBSR, 1);
    return ERR_MORE_DATA;
  }
  if (err == EIO) return ClassifyIoError(ERR_CRC);
  return MapErrno(err, IoContext::TapeRead);
}

ErrorCode CScsiTape::WriteBlock(const void* data, std::size_t length) {
  if (ErrorCode rc = ReopenAfterUnload()) return rc;
  empty_reads_ = 0;
  long n = sys_.Write(fd_, data, length);
  if (n < 0) {
    const int err = static_cast<int>(-n);
    return MapErrno(err, IoContext::TapeWrite);
  }
  return static_cast<std::size_t>(n) == length ? ERR_OK : ERR_WRITE_FAULT;
}

bool CScsiTape::GetIdentity(std::string& vendor, std::string& product) {
  // The driver publishes the drive's inquiry identity beside its device class.
  std::string canonical = sys_.CanonicalPath(path_);
  std::string base = canonical.substr(canonical.find_last_of('/') + 1);
  std::string dir = "/sys/class/scsi_tape/" + base + "/device/";
  std::string v;
  std::string p;
  if (!sys_.ReadSmallFile(dir + "vendor", v) || !sys_.ReadSmallFile(dir + "model", p)) return false;
  vendor = Trimmed(v, 8);
  product = Trimmed(p, 16);
  return true;
}

ErrorCode CScsiTape::MountNextVolume() {
  ErrorCode rc = Op(MTOFFL, 1);
  return rc ? rc : ERR_NO_MEDIA_IN_DRIVE;
}

}  // namespace kelvo
