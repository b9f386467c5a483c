#include "diskfs/disk_image_doc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "core/interaction.h"
#include "diskfs/create_file_system.h"
#include "diskfs/mount.h"
#include "core/atomic_file.h"
#include "core/errno_map.h"
#include "core/file_handle.h"
#include "media/hfe_image.h"
#include "media/imd_image.h"
#include "media/raw_image.h"
#include "media/scp_image.h"

namespace kelvo {
namespace {

ErrorCode ReadWhole(int fd, std::vector<std::uint8_t>& out) {
  constexpr std::size_t kChunk = 128 * 1024;
  out.clear();
  for (;;) {
    std::size_t old = out.size();
    out.resize(old + kChunk);
    ssize_t n = ::read(fd, out.data() + old, kChunk);
    if (n < 0) {
      if (errno == EINTR) {
        out.resize(old);
        continue;
      }
      return MapErrno(errno, IoContext::Read);
    }
    out.resize(old + static_cast<std::size_t>(n));
    if (n == 0) return ERR_OK;
  }
}

}  // namespace

bool IsEncodedImage(std::span<const std::uint8_t> head) {
  return LooksLikeImd(head) || LooksLikeHfe(head) || LooksLikeScp(head);
}

bool IsEncodedImageName(const std::filesystem::path& path) {
  const std::string ext = LowerExtension(path);
  return ext == ".imd" || ext == ".hfe" || ext == ".scp";
}

bool IsFullRawImageName(const std::filesystem::path& path) {
  const std::string ext = LowerExtension(path);
  return ext == ".img" || ext == ".ima" || ext == ".dsk";
}

ErrorCode CDiskImageDoc::OnNewDocument(std::string_view disk_id, Interaction* ui) {
  try {
    std::vector<std::uint8_t> work(51200);
    int blocks = 0;
    CreateFileSystem(work, MediaKind::F3_720_512, disk_id, blocks);
    if (blocks == 0) {
      if (ui) {
        ui->Beep(BeepKind::Error);
        ui->Ask("Buffer too small for file system.", kAppTitle, Buttons::Ok, Icon::Error);
      }
      return ERR_NOT_ENOUGH_MEMORY;
    }
    work.resize(std::size_t(blocks) * kBlockSize);
    bytes_ = std::move(work);
    modified_ = false;
    return ERR_OK;
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

ErrorCode CDiskImageDoc::OnOpenDocument(const std::filesystem::path& path) {
  try {
    CFileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return MapErrno(errno);
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) return MapErrno(errno);
    if (S_ISDIR(st.st_mode)) return ERR_ACCESS_DENIED;
    // Archives compress uniform sectors, so the length is judged after reading.
    std::vector<std::uint8_t> data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    if (ErrorCode err = ReadWhole(file.get(), data)) return err;
    if (LooksLikeImd(data)) return LoadImd(data);
    if (LooksLikeHfe(data) || LooksLikeScp(data)) return LoadTrackImage(data);
    // The length is checked again on what was read: the file may have changed.
    return LoadImage(std::move(data));
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

ErrorCode CDiskImageDoc::LoadImage(std::vector<std::uint8_t> bytes) {
  if (bytes.size() < kMinImageBytes || !HasKelvoMark(bytes.data() + kBlockSize))
    return ERR_BAD_IMAGE;
  Adopt(std::move(bytes), {});
  return ERR_OK;
}

ErrorCode CDiskImageDoc::LoadImd(const std::vector<std::uint8_t>& data) {
  ImdDisk disk;
  if (ErrorCode err = ParseImd(data, disk)) return err;
  if (disk.bytes.size() < kMinImageBytes || disk.unreadable[1] ||
      !HasKelvoMark(disk.bytes.data() + kBlockSize))
    return ERR_BAD_IMAGE;
  Adopt(std::move(disk.bytes), std::move(disk.unreadable));
  archive_comment_ = std::move(disk.comment);
  return ERR_OK;
}

ErrorCode CDiskImageDoc::LoadTrackImage(const std::vector<std::uint8_t>& data) {
  TrackDisk disk;
  const bool flux = LooksLikeScp(data);
  if (ErrorCode err = flux ? ParseScp(data, disk) : ParseHfe(data, disk)) return err;
  if (disk.bytes.size() < kMinImageBytes || disk.unreadable[1] ||
      !HasKelvoMark(disk.bytes.data() + kBlockSize))
    return ERR_BAD_IMAGE;
  Adopt(std::move(disk.bytes), std::move(disk.unreadable));
  track_image_ = true;
  track_report_ = std::move(disk.report);
  track_rate_kbps_ = disk.rate_kbps;
  track_rpm_ = disk.rpm;
  read_only_ = flux || track_report_.missing > 0;
  return ERR_OK;
}

void CDiskImageDoc::Adopt(std::vector<std::uint8_t> bytes, std::vector<bool> unreadable) {
  bytes_ = std::move(bytes);
  unreadable_ = std::move(unreadable);
  opened_size_ = bytes_.size();
  modified_ = false;
  archive_comment_.clear();
  read_only_ = track_image_ = false;
  track_report_ = {};
  track_rate_kbps_ = track_rpm_ = 0;
}

int CDiskImageDoc::SectorsPerTrack() const {
  if (const int spt = RawImageGeometry(bytes_.size()).sectors_per_track) return spt;
  if (bytes_.size() >= 2 * kBlockSize && HasKelvoMark(bytes_.data() + kBlockSize)) {
    const int spt = VolumeBlock::Decode(bytes_.data() + kBlockSize).sectors_per_track;
    if (spt == 9 || spt == 15 || spt == 18) return spt;
  }
  return GeometryForBlocks(BlockCount()).sectors_per_track;
}

const FloppyForm* CDiskImageDoc::Form() const {
  const int spt = SectorsPerTrack();
  if (!drive_chosen_ && track_rate_kbps_ > 0) {
    for (const FloppyForm& f : kFloppyForms)
      if (f.sectors == spt && f.rate_kbps == track_rate_kbps_ && (track_rpm_ == 0 || f.rpm == track_rpm_))
        return &f;
  }
  return FormFor(spt, five_inch_);
}

ErrorCode CDiskImageDoc::OnSaveDocument(const std::filesystem::path& path) {
  try {
    ErrorCode err = ERR_OK;
    const std::string ext = LowerExtension(path);
    if (ext == ".imd") {
      std::vector<std::uint8_t> whole = bytes_;
      whole.resize(std::size_t(BlockCount()) * kBlockSize, 0);
      FloppyGeometry g = RawImageGeometry(whole.size());
      if (g.cylinders == 0) g = GeometryForBlocks(BlockCount());
      err = WriteFileAtomically(
          path, BuildImd(whole, unreadable_, g.cylinders, g.sectors_per_track, archive_comment_));
    } else if (ext == ".hfe") {
      const FloppyForm* form = Form();
      if (!form) return ERR_NOT_SUPPORTED;
      err = WriteFileAtomically(path, BuildHfe(bytes_, *form, kFormattedCylinders, unreadable_));
    } else if (ext == ".scp") {
      return ERR_NOT_SUPPORTED;  // flux is only read
    } else {
      std::size_t size = std::max<std::size_t>(bytes_.size(), opened_size_);
      const std::size_t cylinder = std::size_t(kHeads) * SectorsPerTrack() * kBlockSize;
      const std::size_t file_system = kFileSystemCylinders * cylinder;
      if (IsFullRawImageName(path)) {
        size = std::max(size, kFormattedCylinders * cylinder);
      } else if (ext == ".kdi" && track_image_ && size > file_system &&
                 std::all_of(bytes_.begin() + std::ptrdiff_t(std::min(file_system, bytes_.size())),
                             bytes_.end(), [](std::uint8_t b) { return b == 0; })) {
        // A ".kdi" holds the file system's cylinders; the decoder's empty
        // spare cylinders are left out.
        size = file_system;
      }
      if (size == bytes_.size()) {
        err = WriteFileAtomically(path, bytes_);
      } else if (size < bytes_.size()) {
        err = WriteFileAtomically(path, {bytes_.data(), size});
      } else {
        std::vector<std::uint8_t> padded = bytes_;
        padded.resize(size, 0);
        err = WriteFileAtomically(path, padded);
      }
    }
    if (err) return err;
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  modified_ = false;
  return ERR_OK;
}

void CDiskImageDoc::OnCloseDocument() {
  Adopt({}, {});
  opened_size_ = 0;
}

ErrorCode CDiskImageDoc::ReadSectors(std::uint32_t lbn, std::uint32_t count,
                                     std::uint8_t* buffer) {
  const std::uint64_t begin = std::uint64_t{lbn} * kBlockSize;
  const std::uint64_t length = std::uint64_t{count} * kBlockSize;
  const std::uint64_t have = begin < bytes_.size() ? std::min<std::uint64_t>(length, bytes_.size() - begin) : 0;
  if (have > 0) std::memcpy(buffer, bytes_.data() + begin, have);
  std::memset(buffer + have, 0, length - have);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (IsUnreadable(lbn + i)) {
      std::memset(buffer + std::size_t(i) * kBlockSize, 0, kBlockSize);
      return ERR_CRC;
    }
  }
  return ERR_OK;
}

ErrorCode CDiskImageDoc::WriteSectors(std::uint32_t lbn, std::uint32_t count,
                                      const std::uint8_t* buffer) {
  if (read_only_) return ERR_WRITE_PROTECT;
  const std::uint64_t begin = std::uint64_t{lbn} * kBlockSize;
  const std::uint64_t length = std::uint64_t{count} * kBlockSize;
  try {
    if (begin + length > bytes_.size()) bytes_.resize(begin + length, 0);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  } catch (const std::length_error&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  if (length > 0) std::memcpy(bytes_.data() + begin, buffer, length);
  for (std::uint32_t i = 0; i < count && lbn + i < unreadable_.size(); ++i)
    unreadable_[lbn + i] = false;
  modified_ = true;
  return ERR_OK;
}

}  // namespace kelvo
