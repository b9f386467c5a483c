// An emulated floppy drive whose inserted medium is a file holding the raw
// sectors of all 80 cylinders.
//
// It behaves like a drive: the medium's geometry follows the file's size
// (737,280 bytes: 9 sectors per track; 1,228,800: 15; 1,474,560: 18); a
// missing or empty file is an unformatted medium; a request is served only
// when the media type set on the drive matches the medium (the first nine
// sectors of cylinder 0, head 0 read under every printer geometry, as on a
// real drive); a write-protected medium refuses writes and formatting with
// 19; formatting a cylinder in another geometry re-lays the medium out in
// that geometry, and the cylinders not yet formatted then fail with 27
// until they are. Tests can inject a fault at the Nth request.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/fault_plan.h"
#include "media/floppy_device.h"

namespace kelvo {

struct EmulatedFloppyOptions {
  std::string path;
  bool five_inch = false;  // form=5.25
  bool write_protected = false;
};

// Parses "PATH[,form=3.5|5.25][,wp]" (the part after "emu:").
bool ParseEmulatedFloppy(const std::string& text, EmulatedFloppyOptions& options);

class CEmulatedFloppy : public CFloppyDevice {
 public:
  explicit CEmulatedFloppy(EmulatedFloppyOptions options);
  ~CEmulatedFloppy() override;
  CEmulatedFloppy(const CEmulatedFloppy&) = delete;
  CEmulatedFloppy& operator=(const CEmulatedFloppy&) = delete;

  ErrorCode OpenDevice() override;
  void CloseDevice() override;
  bool IsOpen() const override { return open_; }
  ErrorCode Lock(bool for_format) override;
  ErrorCode Unlock() override;
  ErrorCode ReadSectors(std::uint32_t lbn, std::uint32_t count, std::uint8_t* buffer) override;
  ErrorCode WriteSectors(std::uint32_t lbn, std::uint32_t count,
                         const std::uint8_t* buffer) override;
  ErrorCode FormatCylinder(int cylinder, MediaKind code) override;
  ErrorCode SetMediaType(MediaKind code) override;
  ErrorCode GetMediaTypes(std::vector<MediaKind>& types) override;

  // --- Controls for tests and for swapping disks ---

  // The request (read, write or format) numbered `nth` from now (1 = the
  // next one) fails with `code`; with `persistent` every later one too.
  void InjectFault(std::uint64_t nth, ErrorCode code, bool persistent = false) {
    faults_.Inject(nth, code, persistent);
  }
  void ClearFault() { faults_.Clear(); }
  // Reads, writes and formats requested so far (and the control requests
  // below once they are counted).
  std::uint64_t Requests() const { return faults_.Requests(); }
  // Also counts, and lets fail, the drive's control requests: setting the
  // media type, locking and unlocking.
  void CountControlRequests(bool on) { count_controls_ = on; }
  void SetWriteProtected(bool wp) { options_.write_protected = wp; }
  // Changes the medium (as when the user swaps disks); the drive forgets
  // the media type set on it. Refused while the device is open.
  ErrorCode InsertMedium(const std::string& path);
  const std::string& MediumPath() const { return options_.path; }
  // The media type last set on the drive (Unknown when none).
  MediaKind CurrentMediaType() const { return drive_type_; }
  bool Locked() const { return locked_; }

 private:
  ErrorCode CountRequest() { return faults_.Count(); }
  ErrorCode CountControl() { return count_controls_ ? faults_.Count() : ERR_OK; }
  int MediumSectorsPerTrack();
  ErrorCode CheckAccess(std::uint32_t lbn, std::uint32_t count);
  ErrorCode EnsureFile();

  EmulatedFloppyOptions options_;
  bool open_ = false;
  bool locked_ = false;
  int fd_ = -1;
  bool read_only_file_ = false;
  MediaKind drive_type_ = MediaKind::Unknown;
  // Cylinders left in an old geometry by a format in a new one.
  std::vector<bool> stale_;
  CFaultPlan faults_;
  bool count_controls_ = false;
};

}  // namespace kelvo
