// A printer disk held in a disk image file (".kdi"): the raw sequence of the
// disk's 512-byte blocks, LBN 0 at offset 0, no header. Raw images of 80
// cylinders (".img", ".ima", ".dsk") are the same form and are saved back in
// their full size; ImageDisk archives (".imd") are read and written too.
//
// The whole image is kept in memory while open; changes reach the file only
// when the document is saved, and a save replaces the file atomically.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "media/sector_source.h"

namespace kelvo {

class Interaction;

// Smallest file accepted as an image (70 blocks).
inline constexpr std::uint64_t kMinImageBytes = 35840;

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
  // A path ending ".imd" is written as an ImageDisk archive; otherwise the
  // raw blocks, never shorter than the file the document was opened from.
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

  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }

 private:
  ErrorCode LoadImd(const std::vector<std::uint8_t>& data);

  std::vector<std::uint8_t> bytes_;
  bool modified_ = false;
  std::vector<bool> unreadable_;     // per block, from an archive
  std::uint64_t opened_size_ = 0;    // raw file size the document came from
  std::string archive_comment_;      // an archive's comment, kept on save
};

}  // namespace kelvo
