// The tape device interface: the operations the tape formats rely on.
//
// Every tape the program reads or writes (a SCSI tape drive or a tape image
// file) is reached only through CTapeDevice. The operations keep the meaning
// the tape algorithms rely on:
//  - variable-length blocks, one block per ReadBlock/WriteBlock;
//  - a read that meets a filemark fails with 1101 and leaves the tape after
//    the filemark; a read at the end of recorded data fails with 1104;
//  - a block longer than the caller's buffer fails with 234 and the tape stays
//    before that block (a retry meets the same block again);
//  - writing anywhere makes the written block the last thing on the tape;
//  - "immediate" forms may complete synchronously.
// Every operation returns 0 or an ErrorCode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/error_codes.h"

namespace kelvo {

// Media parameters (get-media-parameters).
struct TapeMediaParameters {
  std::uint64_t capacity = 0;   // bytes, 0 when unknown
  std::uint64_t remaining = 0;  // bytes, 0 when unknown
  std::uint32_t block_size = 0;  // 0: variable-length blocks
  std::uint32_t partition_count = 0;
  bool write_protected = false;
};

// Drive parameters (get-drive-parameters).
struct TapeDriveParameters {
  bool ecc = false;
  bool compression = false;
  bool data_padding = false;
  bool report_setmarks = false;
  std::uint32_t default_block_size = 0;
  std::uint32_t maximum_block_size = 0;
  std::uint32_t minimum_block_size = 0;
  std::uint32_t maximum_partition_count = 0;
  std::uint32_t features_low = 0;
  std::uint32_t features_high = 0;
  std::uint32_t eot_warning_zone_size = 0;
};

// Parameters of a variable-block drive without partitions that takes blocks
// of 1 to `maximum_block_size` bytes.
TapeDriveParameters VariableBlockDrive(std::uint32_t maximum_block_size, std::uint32_t features_low,
                                       std::uint32_t features_high);

enum class TapePrepareOperation { Load, Unload, Tension };

class CTapeDevice {
 public:
  virtual ~CTapeDevice() = default;

  // 0 when a tape is loaded and ready; 1112 when there is none; 1110 after a
  // change of tape; another error when the drive does not answer.
  virtual ErrorCode GetTapeStatus() = 0;

  // SetTapePosition, method rewind.
  virtual ErrorCode RewindTape(bool immediate) = 0;
  // SetTapePosition, method space-filemarks. A positive count moves forward
  // and leaves the tape after the count-th filemark; a negative count moves
  // backward and leaves the tape before (on the beginning side of) the
  // filemark it reached. Meeting the end of data forward fails with 1104,
  // reaching the beginning of the tape backward with 1102.
  virtual ErrorCode SpaceFilemarks(std::int32_t count, bool immediate) = 0;

  virtual ErrorCode PrepareTape(TapePrepareOperation operation, bool immediate) = 0;
  // Long erase from the current position to the end of the tape.
  virtual ErrorCode EraseTape(bool immediate) = 0;
  virtual ErrorCode WriteTapemark(std::uint32_t count, bool immediate) = 0;

  virtual ErrorCode GetMediaParameters(TapeMediaParameters& out) = 0;
  virtual ErrorCode GetDriveParameters(TapeDriveParameters& out) = 0;
  // SetTapeParameters (media) with `block_size`; 0 selects variable-length
  // blocks, the only mode the tape formats use.
  virtual ErrorCode SetBlockSize(std::uint32_t block_size) = 0;

  // Reads one block into buffer[0..capacity); `length` receives its size.
  virtual ErrorCode ReadBlock(void* buffer, std::size_t capacity, std::size_t& length) = 0;
  // Reads the next block like ReadBlock with `block_capacity`, then, when
  // the device can do so cheaply, more blocks of the same length behind it
  // into the rest of buffer[0..capacity), stopping before anything else (a
  // filemark, a block of another length, a damaged block, the end of data),
  // which the next read then meets. `length` receives the bytes read. The
  // default reads the one block.
  virtual ErrorCode ReadBlocks(std::uint8_t* buffer, std::size_t capacity,
                               std::size_t block_capacity, std::size_t& length) {
    return ReadBlock(buffer, capacity < block_capacity ? capacity : block_capacity, length);
  }
  // After a read failed with a media error: moves past the damaged block
  // and gives its length and its data as far as the device has them and
  // `capacity` takes them. `length` is 0 when the
  // device does not know it. A drive moves past a block it could not read
  // by itself, so the default only reports the length unknown.
  virtual ErrorCode PassDamagedBlock(void* /*buffer*/, std::size_t /*capacity*/,
                                     std::size_t& length) {
    length = 0;
    return ERR_OK;
  }
  // Writes `length` bytes as one block.
  virtual ErrorCode WriteBlock(const void* data, std::size_t length) = 0;
  // Writes `length` bytes as consecutive blocks of `block_size` bytes, the
  // last one shorter when `length` is not a multiple of it: the same tape as
  // one WriteBlock per block, which is what this default does. Devices that
  // can take many blocks in one transfer do so.
  virtual ErrorCode WriteBlocks(const std::uint8_t* data, std::size_t length,
                                std::size_t block_size) {
    if (block_size == 0) return length == 0 ? ERR_OK : ERR_NOT_SUPPORTED;
    for (std::size_t off = 0; off < length; off += block_size) {
      const std::size_t n = length - off < block_size ? length - off : block_size;
      if (ErrorCode rc = WriteBlock(data + off, n)) return rc;
    }
    return ERR_OK;
  }

  // Vendor and product identification, when the device can give them.
  virtual bool GetIdentity(std::string& vendor, std::string& product) = 0;

  // Changes to the next volume of a multi-volume set. Returns 0 when the next
  // volume is mounted and at its beginning. Returns 1112 when the device
  // cannot mount another volume by itself: a set of image files that is used
  // up, or a real drive, whose cartridge is unloaded so that the user can
  // change it (the caller then asks the user and checks GetTapeStatus).
  virtual ErrorCode MountNextVolume() = 0;

  // Releases the device; also done by the destructor.
  virtual void Close() = 0;
};

}  // namespace kelvo
