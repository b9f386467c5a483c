// CFloppyDrive: the sector source of a printer disk in floppy drive A: or B:.
//
// It opens the drive, lets the file system check the disk, locks the volume, reads and
// writes blocks by LBN, formats a cylinder at a time, reads and sets the
// drive's media type and describes the drive for the drive lists. The work
// is done by a CFloppyDevice backend chosen by the drive's device string.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/device_table.h"
#include "media/floppy_device.h"
#include "media/media_kind.h"
#include "media/sector_source.h"

namespace kelvo {

struct DriveDescription {
  std::string name;  // "3½ Floppy (A:)", "5¼ Floppy (B:)", "(A:)" or the drive text
  int form = kDriveFormNoPrinterFormat;  // kDriveForm... of the device table
};

class CFloppyDrive : public CSectorSource {
 public:
  // `drive` is the drive text ("a:", "B", ...): its first character,
  // upper-cased, is the letter.
  CFloppyDrive(const std::string& drive, std::shared_ptr<CFloppyDevice> device);
  ~CFloppyDrive() override;
  CFloppyDrive(const CFloppyDrive&) = delete;
  CFloppyDrive& operator=(const CFloppyDrive&) = delete;

  char Letter() const { return letter_; }
  CFloppyDevice& Device() { return *device_; }

  // Tests the disk in the drive (the file system's test of its mark): gets
  // the drive locked and returns its verdict.
  using DiskCheck = std::function<ErrorCode(CSectorSource& disk)>;

  // Opens and closes the drive once; with `check`, locks the drive for it
  // and returns its result.
  ErrorCode CheckDrive(const DiskCheck& check = {});
  ErrorCode OpenDevice();
  void CloseDevice();
  bool IsOpen() const { return device_ && device_->IsOpen(); }

  ErrorCode Lock() override;
  ErrorCode LockForFormat();
  ErrorCode Unlock() override;
  ErrorCode ReadSectors(std::uint32_t lbn, std::uint32_t count, std::uint8_t* buffer) override;
  ErrorCode WriteSectors(std::uint32_t lbn, std::uint32_t count,
                         const std::uint8_t* buffer) override;
  ErrorCode FormatCylinder(int cylinder, MediaKind code);
  ErrorCode SetMediaType(MediaKind code);
  ErrorCode GetMediaTypes(std::vector<MediaKind>& types);
  DriveDescription DescribeDrive();

 private:
  ErrorCode CheckLetter() const;

  std::string drive_text_;
  char letter_;
  std::shared_ptr<CFloppyDevice> device_;
};

// Opens a drive's device and takes the volume lock for the lifetime of the
// object; unlocks and closes on every path.
class CFloppySession {
 public:
  explicit CFloppySession(CFloppyDrive& drive, bool for_format = false);
  ~CFloppySession();
  CFloppySession(const CFloppySession&) = delete;
  CFloppySession& operator=(const CFloppySession&) = delete;
  // The error of opening or locking; 0 when the drive is ready.
  ErrorCode Status() const { return status_; }

 private:
  CFloppyDrive& drive_;
  ErrorCode status_ = 0;
  bool opened_ = false;
  bool locked_ = false;
};

// The media code that matches a disk's sectors per track in a drive of
// `form`, or Unknown when the combination has none.
MediaKind MediaForDisk(int sectors_per_track, int form);

}  // namespace kelvo
