// A printer disk held in a disk image file (".kdi"): the raw sequence of the
// disk's 512-byte blocks, LBN 0 at offset 0, no header. Raw images of 80
// cylinders (".img", ".ima", ".dsk") are the same form and are saved back in
// their full size; ImageDisk archives (".imd") are read and written too.
// Track images are decoded into blocks: emulator images (".hfe") are read
// and written, flux images (".scp") only read.
//
// The whole image is kept in memory while open; changes reach the file only
// when the document is saved, and a save replaces the file atomically.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/floppy_form.h"
#include "media/sector_source.h"
#include "media/track_disk.h"

namespace kelvo {

class Interaction;

// Smallest file accepted as an image (70 blocks).
inline constexpr std::uint64_t kMinImageBytes = 35840;

// True when a file starting with `head` is an archive or track image (.imd,
// .hfe, .scp) whose blocks must be decoded rather than copied.
bool IsEncodedImage(std::span<const std::uint8_t> head);
// True when a file named `path` is written encoded (.imd, .hfe) or cannot be
// written at all (.scp).
bool IsEncodedImageName(const std::filesystem::path& path);
// Whether `path` names a raw image of all 80 cylinders (".img", ".ima",
// ".dsk"), as imagers and floppy emulators expect, rather than a ".kdi".
bool IsFullRawImageName(const std::filesystem::path& path);

class CDiskImageDoc : public CSectorSource {
 public:
  // A new, empty 720 KB file system of 80 blocks; an empty disk ID gives
  // "Kelvo Disk Utility". The document starts unmodified. `ui`, when given,
  // is told if the file system could not be built.
  ErrorCode OnNewDocument(std::string_view disk_id = {}, Interaction* ui = nullptr);

  // Loads an image file: ERR_BAD_IMAGE when it is shorter than 35,840 bytes
  // or block 1 lacks the "$Y$" mark at byte 100; the file's error otherwise.
  // On failure the document is left as it was. A file starting "IMD " is read
  // as an ImageDisk archive; its unreadable sectors read as ERR_CRC.
  ErrorCode OnOpenDocument(const std::filesystem::path& path);

  // Takes `bytes` as the image, with the same validity tests as a file.
  ErrorCode LoadImage(std::vector<std::uint8_t> bytes);

  // Writes the whole image to `path` through a temporary file beside it,
  // flushed to disk and renamed over the old file; on failure the old file
  // is kept and the error returned. Clears the modified flag on success.
  // A path ending ".imd" is written as an ImageDisk archive, ".hfe" as an
  // emulator track image of 80 cylinders in Form() (both keep the unreadable
  // marks: the track image as sectors whose CRC fails); ".scp" is refused with
  // ERR_NOT_SUPPORTED. Otherwise the raw blocks, never shorter than the file
  // the document was opened from, and a raw ".img", ".ima" or ".dsk" never
  // shorter than all 80 cylinders (zeros past the data).
  ErrorCode OnSaveDocument(const std::filesystem::path& path);

  // Releases the image.
  void OnCloseDocument();

  // A block the archive marked unreadable fails the read with ERR_CRC (the
  // other blocks of the request are still filled); writing it repairs it.
  // Blocks past the end read as zeros; a write past the end grows the image
  // to the end of the written data (a gap reads as zeros).
  ErrorCode ReadSectors(std::uint32_t lbn, std::uint32_t count, std::uint8_t* buffer) override;
  ErrorCode WriteSectors(std::uint32_t lbn, std::uint32_t count,
                         const std::uint8_t* buffer) override;
  ErrorCode Lock() override { return ERR_OK; }
  ErrorCode Unlock() override { return ERR_OK; }

  // Number of whole or partial blocks the image holds.
  std::uint32_t BlockCount() const {
    return static_cast<std::uint32_t>((bytes_.size() + kBlockSize - 1) / kBlockSize);
  }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  // A copy of the image, and putting one back: an operation that must leave
  // the image as it was when it fails restores the copy it took first.
  std::vector<std::uint8_t> Snapshot() const { return bytes_; }
  void Restore(std::vector<std::uint8_t> snapshot, bool modified) {
    bytes_ = std::move(snapshot);
    modified_ = modified;
  }

  bool IsUnreadable(std::uint32_t lbn) const {
    return lbn < unreadable_.size() && unreadable_[lbn];
  }

  // Writes fail with ERR_WRITE_PROTECT (see OnOpenDocument).
  bool IsReadOnly() const { return read_only_; }
  // What decoding found, for a document read from a track image.
  const TrackDiskReport* TrackReport() const { return track_image_ ? &track_report_ : nullptr; }

  // Sectors per track of the disk: that of the image's size when it is one of
  // the raw sizes, else its volume block's when that is a known form, else
  // the smallest geometry holding the image.
  int SectorsPerTrack() const;
  // The recording form for a track image or an emulator's description: the
  // rate and speed a track image was read with when they name a form of the
  // disk's sectors per track, else that form on a 3.5-inch drive (5.25-inch
  // after SetFiveInch(true), which also overrides what was read). nullptr
  // when the disk has neither 9 nor 15 sectors per track.
  const FloppyForm* Form() const;
  void SetFiveInch(bool five_inch) {
    five_inch_ = five_inch;
    drive_chosen_ = true;
  }

  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }

 private:
  ErrorCode LoadImd(const std::vector<std::uint8_t>& data);
  ErrorCode LoadTrackImage(const std::vector<std::uint8_t>& data);
  void Adopt(std::vector<std::uint8_t> bytes, std::vector<bool> unreadable);

  std::vector<std::uint8_t> bytes_;
  bool modified_ = false;
  std::vector<bool> unreadable_;     // per block, from an archive
  std::uint64_t opened_size_ = 0;    // raw file size the document came from
  std::string archive_comment_;      // an archive's comment, kept on save
  bool read_only_ = false;
  bool track_image_ = false;
  TrackDiskReport track_report_;
  int track_rate_kbps_ = 0, track_rpm_ = 0;  // as a track image recorded them
  bool five_inch_ = false, drive_chosen_ = false;
};

}  // namespace kelvo
