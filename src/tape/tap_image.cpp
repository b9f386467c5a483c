#include "tape/tap_image.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "core/errno_map.h"
#include "tape/tape_features.h"

namespace kelvo {
namespace {

constexpr std::uint32_t kFilemark = 0x00000000;
constexpr std::uint32_t kEndOfMedium = 0xFFFFFFFF;
constexpr std::uint32_t kEraseGap = 0xFFFFFFFE;
constexpr std::uint32_t kLengthMask = 0x0FFFFFFF;
constexpr std::size_t kWindowSize = 1 << 20;
// Written records are collected up to this size before they go to the file.
constexpr std::size_t kWriteBehindSize = 1 << 20;

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

void PutLe32(std::uint8_t* p, std::uint32_t v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
  p[2] = std::uint8_t(v >> 16);
  p[3] = std::uint8_t(v >> 24);
}

std::uint64_t PaddedLength(std::uint32_t length) { return length + (length & 1u); }

// Records moved per vectored system call: three pieces each (length word,
// data, pad byte and length word), well under the kernel's limit of 1024.
constexpr std::size_t kRecordsPerCall = 256;

// Drops the first `done` bytes from iov[0..count) after a short transfer.
void Consume(iovec*& iov, int& count, std::size_t done) {
  while (count > 0 && done >= iov->iov_len) {
    done -= iov->iov_len;
    ++iov;
    --count;
  }
  if (count > 0) {
    iov->iov_base = static_cast<std::uint8_t*>(iov->iov_base) + done;
    iov->iov_len -= done;
  }
}

// Writes all of iov[0..count) at `offset`, going on after short writes.
ErrorCode WriteAllAt(int fd, iovec* iov, int count, std::uint64_t offset) {
  while (count > 0) {
    const ssize_t n = ::pwritev(fd, iov, count, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return MapErrno(errno, IoContext::Write);
    if (n == 0) return ERR_WRITE_FAULT;
    offset += static_cast<std::uint64_t>(n);
    Consume(iov, count, static_cast<std::size_t>(n));
  }
  return ERR_OK;
}

}  // namespace

std::vector<std::string> SplitTapVolumes(const std::string& device) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= device.size()) {
    std::size_t comma = device.find(',', start);
    if (comma == std::string::npos) comma = device.size();
    if (comma > start) out.push_back(device.substr(start, comma - start));
    start = comma + 1;
  }
  return out;
}

CTapImage::CTapImage(std::vector<std::string> volume_paths) : paths_(std::move(volume_paths)) {}

CTapImage::~CTapImage() { Close(); }

ErrorCode CTapImage::Open() {
  if (paths_.empty()) return ERR_FILE_NOT_FOUND;
  return Mount(0);
}

void CTapImage::Close() { Unmount(); }

void CTapImage::Unmount() {
  if (fd_ >= 0) Flush();
  if (fd_ >= 0) ::close(fd_);  // also releases the lock
  fd_ = -1;
  mounted_ = false;
  pos_ = 0;
  size_ = 0;
  window_length_ = 0;
}

ErrorCode CTapImage::Mount(std::size_t index) {
  Unmount();
  volume_ = index;
  const char* path = paths_[index].c_str();
  write_protected_ = false;
  int fd = ::open(path, O_RDWR | O_CLOEXEC);
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    fd = ::open(path, O_RDONLY | O_CLOEXEC);
    write_protected_ = true;
  }
  if (fd < 0) return MapErrno(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return ERR_ACCESS_DENIED;
  }
  // One tape operation at a time, like a drive opened without sharing.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return ERR_SHARING_VIOLATION;
  }
  // A file nobody may write is a protected tape, also for the superuser.
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) write_protected_ = true;
  fd_ = fd;
  size_ = static_cast<std::uint64_t>(st.st_size);
  pos_ = 0;
  mounted_ = true;
  return ERR_OK;
}

bool CTapImage::Cover(std::uint64_t offset, std::size_t length) {
  if (offset >= window_offset_ && offset + length <= window_offset_ + window_length_) return true;
  if (window_.size() != kWindowSize) window_.resize(kWindowSize);
  const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kWindowSize, size_ - offset));
  std::size_t got = 0;
  while (got < want) {
    ssize_t n = ::pread(fd_, window_.data() + got, want - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  window_offset_ = offset;
  window_length_ = got;
  return got >= length;
}

bool CTapImage::Fetch(std::uint64_t offset, std::size_t length, void* out) {
  if (offset > size_ || length > size_ - offset) return false;
  auto* dst = static_cast<std::uint8_t*>(out);
  if (length > kWindowSize / 2) {
    // Large pieces go straight to the caller's buffer.
    std::size_t done = 0;
    while (done < length) {
      ssize_t n = ::pread(fd_, dst + done, length - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<std::size_t>(n);
    }
    return true;
  }
  if (!Cover(offset, length)) return false;
  std::memcpy(dst, window_.data() + (offset - window_offset_), length);
  return true;
}

bool CTapImage::FetchWord(std::uint64_t offset, std::uint32_t& word) {
  std::uint8_t b[4];
  if (!Fetch(offset, 4, b)) return false;
  word = Le32(b);
  return true;
}

CTapImage::Record CTapImage::ParseAt(std::uint64_t pos) {
  Record r;
  // Each pass consumes at least four bytes, so the walk ends at the file's end.
  for (;;) {
    r.start = pos;
    if (pos == size_) {
      r.kind = Kind::EndOfData;
      return r;
    }
    std::uint32_t word = 0;
    if (!FetchWord(pos, word)) {
      r.kind = Kind::Corrupt;  // a piece of a length word at the end of the file
      return r;
    }
    if (word == kFilemark) {
      r.kind = Kind::Filemark;
      r.next = pos + 4;
      return r;
    }
    if (word == kEndOfMedium) {
      r.kind = Kind::EndOfData;
      return r;
    }
    const std::uint32_t klass = word >> 28;
    if (word == kEraseGap || klass == 0xF) {
      pos += 4;
      continue;
    }
    const std::uint32_t length = word & kLengthMask;
    const std::uint64_t total = 8 + PaddedLength(length);
    std::uint32_t trailer = 0;
    // Bring the whole record into the window at once, so that its trailer
    // and its data are read from the file only once.
    if (total <= kWindowSize / 2 && total <= size_ - pos) Cover(pos, static_cast<std::size_t>(total));
    if (total > size_ - pos || !FetchWord(pos + total - 4, trailer) || trailer != word) {
      r.kind = Kind::Corrupt;
      return r;
    }
    if (klass == 0 || klass == 8) {
      r.kind = klass == 0 ? Kind::Data : Kind::BadData;
      r.length = length;
      r.next = pos + total;
      return r;
    }
    pos += total;  // a record class this reader does not know
  }
}

ErrorCode CTapImage::GetTapeStatus() {
  if (ErrorCode rc = faults_.Count()) return rc;
  return mounted_ ? ERR_OK : ERR_NO_MEDIA_IN_DRIVE;
}

ErrorCode CTapImage::RewindTape(bool) {
  if (ErrorCode rc = faults_.Count()) return rc;
  if (!mounted_) return ERR_NO_MEDIA_IN_DRIVE;
  const ErrorCode rc = Flush();
  pos_ = 0;
  return rc;
}

ErrorCode CTapImage::SpaceFilemarks(std::int32_t count, bool) {
  if (ErrorCode rc = faults_.Count()) return rc;
  if (!mounted_) return ERR_NO_MEDIA_IN_DRIVE;
  if (ErrorCode rc = Flush()) return rc;
  if (count > 0) return SpaceForward(count);
  if (count < 0) return SpaceBackward(count);
  return ERR_OK;
}

ErrorCode CTapImage::SpaceForward(std::int32_t count) {
  for (std::int32_t i = 0; i < count; ++i) {
    for (;;) {
      Record r = ParseAt(pos_);
      if (r.kind == Kind::EndOfData) {
        pos_ = r.start;
        return ERR_NO_DATA_DETECTED;
      }
      if (r.kind == Kind::Corrupt) return ERR_CRC;
      pos_ = r.next;
      if (r.kind == Kind::Filemark) break;
    }
  }
  return ERR_OK;
}

ErrorCode CTapImage::SpaceBackward(std::int32_t count) {
  for (std::int32_t i = 0; i < -static_cast<std::int64_t>(count); ++i) {
    for (;;) {
      if (pos_ == 0) return ERR_BEGINNING_OF_MEDIA;
      std::uint32_t word = 0;
      if (pos_ < 4 || !FetchWord(pos_ - 4, word)) return ERR_CRC;
      if (word == kFilemark) {
        pos_ -= 4;  // before the filemark
        break;
      }
      if (word == kEraseGap || (word >> 28) == 0xF) {
        pos_ -= 4;
        continue;
      }
      const std::uint64_t total = 8 + PaddedLength(word & kLengthMask);
      std::uint32_t header = 0;
      if (total > pos_ || !FetchWord(pos_ - total, header) || header != word) return ERR_CRC;
      pos_ -= total;
    }
  }
  return ERR_OK;
}

ErrorCode CTapImage::PrepareTape(TapePrepareOperation operation, bool) {
  if (ErrorCode rc = faults_.Count()) return rc;
  switch (operation) {
    case TapePrepareOperation::Load:
    case TapePrepareOperation::Tension:
      return RewindTape(false);
    case TapePrepareOperation::Unload: {
      if (!mounted_) return ERR_OK;
      ErrorCode rc = MountNextVolume();
      return rc == ERR_NO_MEDIA_IN_DRIVE ? ERR_OK : rc;
    }
  }
  return ERR_INVALID_FUNCTION;
}

ErrorCode CTapImage::MountNextVolume() {
  if (ErrorCode rc = faults_.Count()) return rc;
  if (mounted_) {
    if (ErrorCode rc = Flush()) return rc;
  }
  if (volume_ + 1 >= paths_.size()) {
    Unmount();
    return ERR_NO_MEDIA_IN_DRIVE;
  }
  ErrorCode rc = Mount(volume_ + 1);
  return rc == ERR_FILE_NOT_FOUND ? ERR_NO_MEDIA_IN_DRIVE : rc;
}

ErrorCode CTapImage::EraseTape(bool) {
  if (ErrorCode rc = faults_.Count()) return rc;
  if (!mounted_) return ERR_NO_MEDIA_IN_DRIVE;
  if (write_protected_) return ERR_WRITE_PROTECT;
  if (ErrorCode rc = Flush()) return rc;
  if (::ftruncate(fd_, static_cast<off_t>(pos_)) != 0) return MapErrno(errno);
  size_ = pos_;
  window_length_ = 0;
  return ERR_OK;
}

ErrorCode CTapImage::StartWriting() {
  if (!mounted_) return ERR_NO_MEDIA_IN_DRIVE;
  if (write_protected_) return ERR_WRITE_PROTECT;
  window_length_ = 0;
  if (pos_ < size_) {
    // Writing makes this the last thing on the tape.
    if (::ftruncate(fd_, static_cast<off_t>(pos_)) != 0) return MapErrno(errno);
    size_ = pos_;
  }
  return ERR_OK;
}

ErrorCode CTapImage::WriteRaw(const void* head, std::size_t head_len, const void* data,
                              std::size_t data_len, const void* tail, std::size_t tail_len) {
  if (ErrorCode rc = StartWriting()) return rc;
  if (pending_.empty()) {
    pending_start_ = pos_;
    pending_.reserve(kWriteBehindSize + kMaximumBlockSize + 16);
  }
  auto append = [this](const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    if (n) pending_.insert(pending_.end(), b, b + n);
  };
  append(head, head_len);
  append(data, data_len);
  append(tail, tail_len);
  pos_ += head_len + data_len + tail_len;
  size_ = pos_;
  return pending_.size() >= kWriteBehindSize ? Flush() : ERR_OK;
}

ErrorCode CTapImage::Flush() {
  if (pending_.empty()) return ERR_OK;
  std::size_t done = 0;
  while (done < pending_.size()) {
    ssize_t n = ::pwrite(fd_, pending_.data() + done, pending_.size() - done,
                         static_cast<off_t>(pending_start_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const ErrorCode rc = n < 0 ? MapErrno(errno, IoContext::Write) : ERR_WRITE_FAULT;
      // None of the unwritten records stays behind, not even in part.
      if (::ftruncate(fd_, static_cast<off_t>(pending_start_)) != 0) {
        // The tail then reads as a damaged record.
      }
      pos_ = size_ = pending_start_;
      pending_.clear();
      return rc;
    }
    done += static_cast<std::size_t>(n);
  }
  pending_.clear();
  pending_start_ = size_;
  return ERR_OK;
}

ErrorCode CTapImage::WriteTapemark(std::uint32_t count, bool immediate) {
  if (ErrorCode rc = faults_.Count()) return rc;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t mark[4] = {0, 0, 0, 0};
    if (ErrorCode rc = WriteRaw(mark, 4, nullptr, 0, nullptr, 0)) return rc;
  }
  // Like a drive, the non-immediate form returns once everything written
  // before it is on the medium.
  return immediate ? ERR_OK : Flush();
}

ErrorCode CTapImage::WriteBlock(const void* data, std::size_t length) {
  if (ErrorCode rc = faults_.Count()) return rc;
  if (length == 0) return ERR_OK;  // an empty record cannot be told from a filemark
  if (length > kMaximumBlockSize) return ERR_NOT_SUPPORTED;
  std::uint8_t head[4];
  std::uint8_t tail[5];
  PutLe32(head, static_cast<std::uint32_t>(length));
  std::size_t tail_len = 4;
  if (length & 1u) {
    tail[0] = 0;
    PutLe32(tail + 1, static_cast<std::uint32_t>(length));
    tail_len = 5;
  } else {
    PutLe32(tail, static_cast<std::uint32_t>(length));
  }
  return WriteRaw(head, 4, data, length, tail, tail_len);
}

ErrorCode CTapImage::WriteBlocks(const std::uint8_t* data, std::size_t length,
                                 std::size_t block_size) {
  if (ErrorCode rc = faults_.Count()) return rc;
  if (length == 0) return ERR_OK;
  if (block_size == 0 || block_size > kMaximumBlockSize) return ERR_NOT_SUPPORTED;
  if (ErrorCode rc = StartWriting()) return rc;
  if (ErrorCode rc = Flush()) return rc;
  std::array<iovec, kRecordsPerCall * 3> iov;
  std::array<std::uint8_t, kRecordsPerCall * 9> marks;  // length words and pad bytes
  std::size_t off = 0;
  while (off < length) {
    int pieces = 0;
    std::uint64_t bytes = 0;
    std::uint8_t* mark = marks.data();
    for (std::size_t r = 0; r < kRecordsPerCall && off < length; ++r, mark += 9) {
      const std::size_t n = std::min(block_size, length - off);
      PutLe32(mark, static_cast<std::uint32_t>(n));
      mark[4] = 0;
      PutLe32(mark + 5, static_cast<std::uint32_t>(n));
      iov[pieces++] = {mark, 4};
      iov[pieces++] = {const_cast<std::uint8_t*>(data + off), n};
      // An odd record is followed by its pad byte, then the length again.
      iov[pieces++] = (n & 1u) ? iovec{mark + 4, 5} : iovec{mark + 5, 4};
      bytes += 8 + PaddedLength(static_cast<std::uint32_t>(n));
      off += n;
    }
    if (ErrorCode rc = WriteAllAt(fd_, iov.data(), pieces, pos_)) {
      // Records that did not all arrive leave nothing behind; those of
      // earlier system calls are on the tape, as on a drive.
      if (::ftruncate(fd_, static_cast<off_t>(pos_)) != 0) {
        // The tail then reads as a damaged record.
      }
      size_ = pos_;
      return rc;
    }
    pos_ += bytes;
    size_ = pos_;
  }
  return ERR_OK;
}

ErrorCode CTapImage::ReadBlock(void* buffer, std::size_t capacity, std::size_t& length) {
  if (ErrorCode rc = faults_.Count()) return rc;
  return ReadRecord(buffer, capacity, length);
}

ErrorCode CTapImage::ReadRecord(void* buffer, std::size_t capacity, std::size_t& length) {
  length = 0;
  if (!mounted_) return ERR_NO_MEDIA_IN_DRIVE;
  if (ErrorCode rc = Flush()) return rc;
  Record r = ParseAt(pos_);
  switch (r.kind) {
    case Kind::EndOfData:
      pos_ = r.start;
      return ERR_NO_DATA_DETECTED;
    case Kind::Corrupt:
      return ERR_CRC;
    case Kind::Filemark:
      pos_ = r.next;
      return ERR_FILEMARK_DETECTED;
    case Kind::BadData:
      pos_ = r.start;
      return ERR_CRC;
    case Kind::Data:
      break;
  }
  pos_ = r.start;
  if (r.length > capacity) return ERR_MORE_DATA;
  if (!Fetch(r.start + 4, r.length, buffer)) return ERR_CRC;
  pos_ = r.next;
  length = r.length;
  return ERR_OK;
}

ErrorCode CTapImage::PassDamagedBlock(void* buffer, std::size_t capacity, std::size_t& length) {
  if (ErrorCode rc = faults_.Count()) return rc;
  length = 0;
  if (!mounted_) return ERR_NO_MEDIA_IN_DRIVE;
  if (ErrorCode rc = Flush()) return rc;
  Record r = ParseAt(pos_);
  if (r.kind != Kind::BadData) return ERR_CRC;  // nothing this image can pass
  const std::size_t kept = std::min<std::size_t>(r.length, capacity);
  if (!Fetch(r.start + 4, kept, buffer)) return ERR_CRC;
  pos_ = r.next;
  length = r.length;
  return ERR_OK;
}

ErrorCode CTapImage::ReadBlocks(std::uint8_t* buffer, std::size_t capacity,
                                std::size_t block_capacity, std::size_t& length) {
  if (ErrorCode rc = faults_.Count()) return rc;
  length = 0;
  if (!mounted_) return ERR_NO_MEDIA_IN_DRIVE;
  if (ErrorCode rc = Flush()) return rc;
  const std::size_t first = std::min(capacity, block_capacity);
  // Blocks go on as the last ones were: try a run of them first.
  if (run_length_ != 0 && run_length_ <= first) {
    length = ReadRun(buffer, capacity, run_length_);
    if (length > 0) return ERR_OK;
  }
  ErrorCode rc = ReadRecord(buffer, first, length);
  run_length_ = rc == ERR_OK ? length : 0;
  if (rc != ERR_OK || length == 0) return rc;
  length += ReadRun(buffer + length, capacity - length, length);
  return ERR_OK;
}

std::size_t CTapImage::ReadRun(std::uint8_t* buffer, std::size_t capacity, std::size_t n) {
  const std::uint64_t total = 8 + PaddedLength(static_cast<std::uint32_t>(n));
  const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(
      {capacity / n, (size_ - pos_) / total, kRecordsPerCall}));
  if (count == 0) return 0;
  // Length words (and pad bytes) land here, the data in the buffer.
  std::array<iovec, kRecordsPerCall * 3> iov;
  std::array<std::uint8_t, kRecordsPerCall * 9> words;
  const std::size_t tail = (n & 1u) ? 5 : 4;
  for (std::size_t i = 0; i < count; ++i) {
    iov[3 * i] = {words.data() + 9 * i, 4};
    iov[3 * i + 1] = {buffer + i * n, n};
    iov[3 * i + 2] = {words.data() + 9 * i + 4, tail};
  }
  const auto want = static_cast<std::size_t>(count * total);
  std::size_t got = 0;
  iovec* next = iov.data();
  int pieces = static_cast<int>(count * 3);
  while (got < want) {
    const ssize_t r = ::preadv(fd_, next, pieces, static_cast<off_t>(pos_ + got));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;  // what arrived is judged below; the rest is read again later
    got += static_cast<std::size_t>(r);
    Consume(next, pieces, static_cast<std::size_t>(r));
  }
  // Keep the records read whole whose two length words both say n: good
  // data records of that length, as ReadRecord would take them. The first
  // that is not ends the run; the next read meets it.
  std::size_t kept = 0;
  while (kept < count && (kept + 1) * total <= got) {
    const std::uint8_t* w = words.data() + 9 * kept;
    if (Le32(w) != n || Le32(w + tail) != n) break;
    ++kept;
  }
  pos_ += kept * total;
  return kept * n;
}

ErrorCode CTapImage::GetMediaParameters(TapeMediaParameters& out) {
  if (ErrorCode rc = faults_.Count()) return rc;
  if (!mounted_) return ERR_NO_MEDIA_IN_DRIVE;
  out = TapeMediaParameters{};
  out.write_protected = write_protected_;
  return ERR_OK;
}

ErrorCode CTapImage::GetDriveParameters(TapeDriveParameters& out) {
  if (ErrorCode rc = faults_.Count()) return rc;
  out = VariableBlockDrive(kMaximumBlockSize, kTapeImageFeaturesLow, kTapeImageFeaturesHigh);
  return ERR_OK;
}

ErrorCode CTapImage::SetBlockSize(std::uint32_t block_size) {
  if (ErrorCode rc = faults_.Count()) return rc;
  if (!mounted_) return ERR_NO_MEDIA_IN_DRIVE;
  return block_size == 0 ? ERR_OK : ERR_NOT_SUPPORTED;
}

bool CTapImage::GetIdentity(std::string&, std::string&) { return false; }

CTapFileWriter::CTapFileWriter(std::string path) : path_(std::move(path)), part_(path_ + ".part") {}

CTapFileWriter::~CTapFileWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
    std::remove(part_.c_str());
  }
}

ErrorCode CTapFileWriter::Open() {
  file_ = std::fopen(part_.c_str(), "wb");
  if (file_ == nullptr) return MapErrno(errno, IoContext::Write);
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
  return ERR_OK;
}

ErrorCode CTapFileWriter::Record(const std::uint8_t* data, std::uint32_t length, bool damaged) {
  const std::uint32_t word = length | (damaged ? 0x80000000u : 0u);
  if (!Word(word)) return Failed();
  if (length > 0 && std::fwrite(data, 1, length, file_) != length) return Failed();
  if ((length & 1) != 0 && std::fputc(0, file_) == EOF) return Failed();
  return Word(word) ? ERR_OK : Failed();
}

ErrorCode CTapFileWriter::Filemark() { return Word(0) ? ERR_OK : Failed(); }

ErrorCode CTapFileWriter::Finish() {
  const bool flushed = std::fflush(file_) == 0 && ::fsync(fileno(file_)) == 0;
  int err = errno;
  const bool closed = std::fclose(file_) == 0;
  if (flushed && !closed) err = errno;
  file_ = nullptr;
  if (flushed && closed && std::rename(part_.c_str(), path_.c_str()) == 0) return ERR_OK;
  if (flushed && closed) err = errno;
  std::remove(part_.c_str());
  return MapErrno(err, IoContext::Write);
}

bool CTapFileWriter::Word(std::uint32_t word) {
  const unsigned char bytes[4] = {static_cast<unsigned char>(word), static_cast<unsigned char>(word >> 8),
                                  static_cast<unsigned char>(word >> 16),
                                  static_cast<unsigned char>(word >> 24)};
  return std::fwrite(bytes, 1, 4, file_) == 4;
}

ErrorCode CTapFileWriter::Failed() const { return MapErrno(errno != 0 ? errno : EIO, IoContext::Write); }

}  // namespace kelvo
