#include "media/disk_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "app/interaction.h"
#include "diskfs/create_file_system.h"
#include "diskfs/mount.h"
#include "media/file_errors.h"

namespace kelvo {
namespace {

// Closes a file descriptor on every path.
class FileHandle {
 public:
  explicit FileHandle(int fd) : fd_(fd) {}
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the close's own failure (data not written).
  int Close() {
    int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

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
      return ErrorFromErrno(errno);
    }
    out.resize(old + static_cast<std::size_t>(n));
    if (n == 0) return ERR_OK;
  }
}

ErrorCode WriteWhole(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrorFromErrno(errno);
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return ERR_OK;
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
    if (file.get() < 0) return ErrorFromErrno(errno);
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) return ErrorFromErrno(errno);
    if (S_ISDIR(st.st_mode)) return ERR_ACCESS_DENIED;
    if (static_cast<std::uint64_t>(st.st_size) < kMinImageBytes) return ERR_BAD_IMAGE;
    std::vector<std::uint8_t> data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    if (ErrorCode err = ReadWhole(file.get(), data)) return err;
    // The length is checked again on what was read: the file may have changed.
    return LoadImage(std::move(data));
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

ErrorCode CDiskImageDoc::LoadImage(std::vector<std::uint8_t> bytes) {
  if (bytes.size() < kMinImageBytes || !HasKelvoMark(bytes.data() + kBlockSize))
    return ERR_BAD_IMAGE;
  bytes_ = std::move(bytes);
  modified_ = false;
  return ERR_OK;
}

ErrorCode CDiskImageDoc::OnSaveDocument(const std::filesystem::path& path) {
  std::filesystem::path dir = path.parent_path();
  if (dir.empty()) dir = ".";
  std::string hidden = ".";
  hidden += path.filename().string();
  hidden += ".XXXXXX";
  std::string temp = (dir / hidden).string();
  FileHandle file(::mkstemp(temp.data()));
  if (file.get() < 0) return ErrorFromErrno(errno);
  // An existing image keeps its permissions; a new one gets the usual ones.
  struct stat st {};
  mode_t mode = 0666;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ErrorCode err = ERR_OK;
  if (::fchmod(file.get(), mode) != 0) err = ErrorFromErrno(errno);
  if (!err) err = WriteWhole(file.get(), bytes_.data(), bytes_.size());
  if (!err && ::fsync(file.get()) != 0) err = ErrorFromErrno(errno);
  if (!err && file.Close() != 0) err = ErrorFromErrno(errno);
  if (!err && ::rename(temp.c_str(), path.c_str()) != 0) err = ErrorFromErrno(errno);
  if (err) {
    ::unlink(temp.c_str());
    return err;
  }
  // Make the rename itself durable.
  FileHandle folder(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  modified_ = false;
  return ERR_OK;
}

void CDiskImageDoc::OnCloseDocument() {
  std::vector<std::uint8_t>().swap(bytes_);
  modified_ = false;
}

ErrorCode CDiskImageDoc::ReadSectors(std::uint32_t lbn, std::uint32_t count,
                                     std::uint8_t* buffer) {
  const std::uint64_t begin = std::uint64_t{lbn} * kBlockSize;
  const std::uint64_t length = std::uint64_t{count} * kBlockSize;
  const std::uint64_t have = begin < bytes_.size() ? std::min<std::uint64_t>(length, bytes_.size() - begin) : 0;
  if (have > 0) std::memcpy(buffer, bytes_.data() + begin, have);
  std::memset(buffer + have, 0, length - have);
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
  modified_ = true;
  return ERR_OK;
}

}  // namespace kelvo
