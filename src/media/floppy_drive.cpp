#include "media/floppy_drive.h"

#include <cctype>
#include <utility>

namespace kelvo {
MediaKind MediaForDisk(int sectors_per_track, int form) {
  bool three_inch = form == kDriveForm35;
  if (sectors_per_track == 15) return three_inch ? MediaKind::F3_1Pt2_512 : MediaKind::F5_1Pt2_512;
  if (sectors_per_track == 9) return three_inch ? MediaKind::F3_720_512 : MediaKind::F5_720_512;
  return MediaKind::Unknown;
}

CFloppyDrive::CFloppyDrive(const std::string& drive, std::shared_ptr<CFloppyDevice> device)
    : drive_text_(drive),
      letter_(drive.empty() ? '?' : static_cast<char>(std::toupper(
                                       static_cast<unsigned char>(drive[0])))),
      device_(std::move(device)) {}

CFloppyDrive::~CFloppyDrive() {
  if (IsOpen()) CloseDevice();
}

ErrorCode CFloppyDrive::CheckLetter() const {
  if ((letter_ != 'A' && letter_ != 'B') || !device_) return ERR_INVALID_DRIVE;
  return ERR_OK;
}

ErrorCode CFloppyDrive::CheckDrive(const DiskCheck& check) {
  if (ErrorCode rc = CheckLetter()) return rc;
  if (ErrorCode rc = device_->OpenDevice()) return rc;
  ErrorCode rc = ERR_OK;
  if (check) {
    rc = device_->Lock(false);
    if (rc == ERR_OK) {
      rc = check(*this);
      device_->Unlock();
    }
  }
  device_->CloseDevice();
  return rc;
}

ErrorCode CFloppyDrive::OpenDevice() {
  if (ErrorCode rc = CheckLetter()) return rc;
  return device_->OpenDevice();
}

void CFloppyDrive::CloseDevice() {
  if (device_) device_->CloseDevice();
}

ErrorCode CFloppyDrive::Lock() { return device_->Lock(false); }
ErrorCode CFloppyDrive::LockForFormat() { return device_->Lock(true); }
ErrorCode CFloppyDrive::Unlock() { return device_->Unlock(); }

ErrorCode CFloppyDrive::ReadSectors(std::uint32_t lbn, std::uint32_t count,
                                    std::uint8_t* buffer) {
  return device_->ReadSectors(lbn, count, buffer);
}

ErrorCode CFloppyDrive::WriteSectors(std::uint32_t lbn, std::uint32_t count,
                                     const std::uint8_t* buffer) {
  return device_->WriteSectors(lbn, count, buffer);
}

ErrorCode CFloppyDrive::FormatCylinder(int cylinder, MediaKind code) {
  return device_->FormatCylinder(cylinder, code);
}

ErrorCode CFloppyDrive::SetMediaType(MediaKind code) { return device_->SetMediaType(code); }

ErrorCode CFloppyDrive::GetMediaTypes(std::vector<MediaKind>& types) {
  if (ErrorCode rc = CheckLetter()) return rc;
  return device_->GetMediaTypes(types);
}

DriveDescription CFloppyDrive::DescribeDrive() {
  DriveDescription out;
  std::vector<MediaKind> types;
  if (GetMediaTypes(types) != ERR_OK || types.empty()) {
    out.name = drive_text_;
    return out;
  }
  std::string suffix = std::string(1, letter_) + ":)";
  int first = static_cast<int>(types.front());
  if (IsFiveInchMedia(first)) {
    bool has_720 = false;
    for (MediaKind t : types) has_720 = has_720 || t == MediaKind::F5_720_512;
    out.form = has_720 ? kDriveForm525 : kDriveFormNoPrinterFormat;
    out.name = (has_720 ? "5\u00BC Floppy (" : "(") + suffix;
  } else if (IsThreeInchMedia(first)) {
    out.form = kDriveForm35;
    out.name = "3\u00BD Floppy (" + suffix;
  } else {
    out.name = "(" + suffix;
  }
  return out;
}

CFloppySession::CFloppySession(CFloppyDrive& drive, bool for_format) : drive_(drive) {
  status_ = drive_.OpenDevice();
  if (status_ != ERR_OK) return;
  opened_ = true;
  status_ = drive_.Lock();
  if (status_ == ERR_OK && for_format) status_ = drive_.LockForFormat();
  locked_ = status_ == ERR_OK;
}

CFloppySession::~CFloppySession() {
  if (locked_) drive_.Unlock();
  if (opened_) drive_.CloseDevice();
}

}  // namespace kelvo
