#include "diskfs/disk_image.h"

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
#include "media/imd_image.h"
#include "media/raw_image.h"

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
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return MapErrno(errno);
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) return MapErrno(errno);
    if (S_ISDIR(st.st_mode)) return ERR_ACCESS_DENIED;
    // Archives compress uniform sectors, so the length is judged after reading.
    std::vector<std::uint8_t> data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    if (ErrorCode err = ReadWhole(file.get(), data)) return err;
    if (LooksLikeImd(data)) return LoadImd(data);
    // The length is checked again on what was read: the file may have changed.
    return LoadImage(std::move(data));
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

ErrorCode CDiskImageDoc::LoadImage(std::vector<std::uint8_t> bytes) {
  if (bytes.size() < kMinImageBytes || !HasKelvoMark(bytes.data() + kBlockSize))
    return ERR_BAD_IMAGE;
  opened_size_ = bytes.size();
  bytes_ = std::move(bytes);
  modified_ = false;
  unreadable_.clear();
  archive_comment_.clear();
  return ERR_OK;
}

ErrorCode CDiskImageDoc::LoadImd(const std::vector<std::uint8_t>& data) {
  ImdDisk disk;
  if (ErrorCode err = ParseImd(data, disk)) return err;
  if (disk.bytes.size() < kMinImageBytes || disk.unreadable[1] ||
      !HasKelvoMark(disk.bytes.data() + kBlockSize))
    return ERR_BAD_IMAGE;
  bytes_ = std::move(disk.bytes);
  unreadable_ = std::move(disk.unreadable);
  archive_comment_ = std::move(disk.comment);
  opened_size_ = bytes_.size();
  modified_ = false;
  return ERR_OK;
}

ErrorCode CDiskImageDoc::OnSaveDocument(const std::filesystem::path& path) {
  try {
    ErrorCode err = ERR_OK;
    if (LowerExtension(path) == ".imd") {
      std::vector<std::uint8_t> whole = bytes_;
      whole.resize(std::size_t(BlockCount()) * kBlockSize, 0);
      FloppyGeometry g = RawImageGeometry(whole.size());
      if (g.cylinders == 0) g = GeometryForBlocks(BlockCount());
      err = WriteFileAtomically(
          path, BuildImd(whole, unreadable_, g.cylinders, g.sectors_per_track, archive_comment_));
    } else if (bytes_.size() < opened_size_) {
      std::vector<std::uint8_t> padded = bytes_;
      padded.resize(opened_size_, 0);
      err = WriteFileAtomically(path, padded);
    } else {
      err = WriteFileAtomically(path, bytes_);
    }
    if (err) return err;
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  modified_ = false;
  return ERR_OK;
}

void CDiskImageDoc::OnCloseDocument() {
  std::vector<std::uint8_t>().swap(bytes_);
  std::vector<bool>().swap(unreadable_);
  archive_comment_.clear();
  opened_size_ = 0;
  modified_ = false;
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
