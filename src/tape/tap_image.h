// A tape held in image files of the widespread ".tap" record format,
// behaving like a variable-block tape drive.
//
// Layout of an image: records of a 32-bit little-endian length word n, n
// data bytes, one pad byte when n is odd, and the length word again. In place
// of a length, 0 is a filemark, 0xFFFFFFFF the end of the medium and
// 0xFFFFFFFE an erase gap (skipped). The top four bits of a length word are a
// class: 0 a good record, 8 a record with a read error (its data are present
// but reading it fails), other classes are skipped. The end of the file is the
// end of recorded data.
//
// Several image files form a multi-volume set: unloading, or MountNextVolume,
// mounts the next file; after the last one the drive holds no tape.
//
// Written records are collected in memory and reach the file when 1 MB has
// gathered, before any other operation, and at a filemark written in the
// non-immediate form (which reports any failure of the file write). Records
// given many at a time (WriteBlocks) go to the file at once, from the
// caller's memory, with one system call for the lot.
//
// Damaged images never make a read go past the file or the caller's buffer:
// every length is checked against the file before it is used, and a record
// that does not fit or whose two length words differ fails with 23.
//
// Tests can make the Nth request fail (reads, writes, positioning and the
// control requests alike); a failed request changes nothing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/fault_plan.h"
#include "tape/tape_device.h"

namespace kelvo {

class CTapImage : public CTapeDevice {
 public:
  // The largest block a writer may put into an image.
  static constexpr std::uint32_t kMaximumBlockSize = 65536;

  explicit CTapImage(std::vector<std::string> volume_paths);
  ~CTapImage() override;
  CTapImage(const CTapImage&) = delete;
  CTapImage& operator=(const CTapImage&) = delete;

  // Mounts the first volume. Fails when its file cannot be opened or is
  // already in use by another tape operation.
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
  // Expecting blocks of the length last read, reads as many as fit with one
  // system call straight into the buffer (headers and trailers elsewhere)
  // and keeps those whose two length words prove the guess; when the first
  // does not, reads one block as ReadBlock does and then a run of its length.
  // One request, as far as injected faults go.
  ErrorCode ReadBlocks(std::uint8_t* buffer, std::size_t capacity, std::size_t block_capacity,
                       std::size_t& length) override;
  // Passes an error-class record, giving its length and stored data.
  ErrorCode PassDamagedBlock(void* buffer, std::size_t capacity, std::size_t& length) override;
  ErrorCode WriteBlock(const void* data, std::size_t length) override;
  // Goes to the file at once, straight from `data`, without collecting.
  ErrorCode WriteBlocks(const std::uint8_t* data, std::size_t length,
                        std::size_t block_size) override;
  bool GetIdentity(std::string& vendor, std::string& product) override;
  ErrorCode MountNextVolume() override;
  void Close() override;

  // The request numbered `nth` from now fails with `code` (with
  // `persistent` every later one too); see CFaultPlan.
  void InjectFault(std::uint64_t nth, ErrorCode code, bool persistent = false) {
    faults_.Inject(nth, code, persistent);
  }
  // Requests made so far: every operation of CTapeDevice except Close and
  // GetIdentity.
  std::uint64_t Requests() const { return faults_.Requests(); }

  // The index of the mounted volume (for tests and prompts).
  std::size_t CurrentVolume() const { return volume_; }
  // Byte offset of the tape position within the mounted image.
  std::uint64_t Position() const { return pos_; }

 private:
  enum class Kind { Data, BadData, Filemark, EndOfData, Corrupt };
  struct Record {
    Kind kind = Kind::EndOfData;
    std::uint64_t start = 0;  // offset of the record's first length word
    std::uint64_t next = 0;   // offset after the record
    std::uint32_t length = 0;
  };

  ErrorCode Mount(std::size_t index);
  void Unmount();
  Record ParseAt(std::uint64_t pos);
  // Makes the read-ahead window hold [offset, offset + length) when the file
  // has those bytes.
  bool Cover(std::uint64_t offset, std::size_t length);
  bool Fetch(std::uint64_t offset, std::size_t length, void* out);
  bool FetchWord(std::uint64_t offset, std::uint32_t& word);
  ErrorCode Flush();
  // Makes the file end at pos_ before the first write there.
  ErrorCode StartWriting();
  ErrorCode WriteRaw(const void* head, std::size_t head_len, const void* data,
                     std::size_t data_len, const void* tail, std::size_t tail_len);
  // ReadBlock without counting a request.
  ErrorCode ReadRecord(void* buffer, std::size_t capacity, std::size_t& length);
  // Reads consecutive data records of length n at pos_ into buffer[0..
  // capacity) as far as they are what they seem; returns the bytes kept.
  std::size_t ReadRun(std::uint8_t* buffer, std::size_t capacity, std::size_t n);
  ErrorCode SpaceForward(std::int32_t count);
  ErrorCode SpaceBackward(std::int32_t count);

  CFaultPlan faults_;
  std::vector<std::string> paths_;
  std::size_t volume_ = 0;
  int fd_ = -1;
  bool mounted_ = false;
  bool write_protected_ = false;
  std::uint64_t size_ = 0;
  std::uint64_t pos_ = 0;

  // Records written but not yet in the file; they belong at pending_start_.
  std::vector<std::uint8_t> pending_;
  std::uint64_t pending_start_ = 0;

  // Read-ahead window over the image.
  std::vector<std::uint8_t> window_;
  // The length of the block ReadBlocks read last (a guess for the next ones).
  std::size_t run_length_ = 0;
  std::uint64_t window_offset_ = 0;
  std::size_t window_length_ = 0;
};

// Writes a .tap image record by record, error-class records included, to
// FILE.part; Finish flushes it to disk and renames it over FILE. Dropped
// unfinished, the part file is removed.
class CTapFileWriter {
 public:
  explicit CTapFileWriter(std::string path);
  ~CTapFileWriter();
  CTapFileWriter(const CTapFileWriter&) = delete;
  CTapFileWriter& operator=(const CTapFileWriter&) = delete;

  ErrorCode Open();
  // A record of `length` bytes (at most 24 bits); `damaged` gives it class 8.
  ErrorCode Record(const std::uint8_t* data, std::uint32_t length, bool damaged);
  ErrorCode Filemark();
  ErrorCode Finish();

 private:
  bool Word(std::uint32_t word);
  ErrorCode Failed() const;

  std::string path_;
  std::string part_;
  std::FILE* file_ = nullptr;
};

// Splits a device string "a.tap,b.tap" into its volume paths.
std::vector<std::string> SplitTapVolumes(const std::string& device);

}  // namespace kelvo
