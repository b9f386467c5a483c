// A tape drive of the Linux SCSI tape driver (the no-rewind device
// /dev/nstN), used in variable-block mode.
//
// All system calls go through CTapeSyscalls, the one seam that lets the
// request building and the mapping of results be tested without a drive.
#pragma once

#include <cstdint>
#include <string>

#include "tape/tape_device.h"

struct mtget;

namespace kelvo {

// The system calls the drive uses. Results are >= 0 on success and -errno on
// failure.
class CTapeSyscalls {
 public:
  virtual ~CTapeSyscalls() = default;
  virtual int Open(const std::string& path, int flags) = 0;  // a descriptor
  virtual void Close(int fd) = 0;
  // MTIOCTOP with {op, count}.
  virtual int MtOp(int fd, short op, int count) = 0;
  // MTIOCGET.
  virtual int MtGet(int fd, struct mtget& status) = 0;
  virtual long Read(int fd, void* buffer, std::size_t length) = 0;
  virtual long Write(int fd, const void* data, std::size_t length) = 0;
  // Reads a small text file (the driver's identity attributes); false when absent.
  virtual bool ReadSmallFile(const std::string& path, std::string& text) = 0;
  // The canonical form of a device path (symbolic links resolved).
  virtual std::string CanonicalPath(const std::string& path) = 0;
};

// The real system calls.
CTapeSyscalls& SystemTapeSyscalls();

class CScsiTape : public CTapeDevice {
 public:
  // The largest block this program reads or writes on a drive.
  static constexpr std::uint32_t kMaximumBlockSize = 65536;

  CScsiTape(std::string path, CTapeSyscalls& sys);
  ~CScsiTape() override;
  CScsiTape(const CScsiTape&) = delete;
  CScsiTape& operator=(const CScsiTape&) = delete;

  // Opens the device for reading and writing (read-only when the tape is
  // write-protected); the drive may hold no tape yet.
  ErrorCode Open();

  ErrorCode GetTapeStatus() override;
  ErrorCode RewindTape(bool immediate) override;
  ErrorCode SpaceFilemarks(std::int32_t count, bool immediate) override;
  ErrorCode PrepareTape(TapePrepareOperation operation, bool immediate) override;
  ErrorCode EraseTape(bool immediate) override;
  ErrorCode WriteTapemark(std::uint32_t count, bool immediate) override;
  ErrorCode GetMediaParameters(TapeMediaParameters& out) override;
  ErrorCode GetDriveParameters(TapeDriveParameters& out) override;
  ErrorCode SetBlockSize(std::uint32_t block_size) override;
  ErrorCode ReadBlock(void* buffer, std::size_t capacity, std::size_t& length) override;
  ErrorCode WriteBlock(const void* data, std::size_t length) override;
  bool GetIdentity(std::string& vendor, std::string& product) override;
  ErrorCode MountNextVolume() override;
  void Close() override;

 private:
  ErrorCode ReopenAfterUnload();
  ErrorCode Op(short op, int count);
  ErrorCode Status(std::uint32_t& gstat);
  // The code for EIO after a read or a spacing command: end of data when the
  // drive says so, else `otherwise`.
  ErrorCode ClassifyIoError(ErrorCode otherwise);

  std::string path_;
  CTapeSyscalls& sys_;
  int fd_ = -1;
  int empty_reads_ = 0;  // consecutive reads that returned no data
  bool unloaded_ = false;  // the last request was an unload (MTOFFL)
};

}  // namespace kelvo
