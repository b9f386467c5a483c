// Printer source records and PC text.
//
// A source record is 80 bytes: text in columns 1 to 74, blank-padded, and a
// six-digit line number in columns 75 to 80. Six records fill bytes 0 to 479
// of a 512-byte block; bytes 480 to 511 are zero. PC text has lines ended by
// CR LF when written; on reading a line ends at LF and a CR before it is
// dropped. Bytes are never translated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "filetypes/byte_sink.h"
#include "core/error_codes.h"

namespace kelvo {

inline constexpr std::size_t kRecordSize = 80;
inline constexpr std::size_t kRecordTextColumns = 74;
inline constexpr std::size_t kLineNumberColumns = 6;
inline constexpr std::size_t kRecordsPerBlock = 6;
inline constexpr std::size_t kRecordBytesPerBlock = kRecordsPerBlock * kRecordSize;  // 480
inline constexpr std::size_t kStoreBlockSize = 512;

// True for a source file: CMD, FSL, JSL and PCH always; LIB, MSC and TMP
// when each of the first 256 of `usefulBytes` (all when fewer) is CR, LF or
// 0x20 to 0x7A. `usefulBytes` are the file's data only, without the zero
// padding of its last block. The type is the last three characters of
// `pcNameOrType` (a PC name or a bare code), any case.
bool IsSourceFile(std::string_view pcNameOrType, std::span<const std::uint8_t> usefulBytes);

// Line numbers given to converted lines: start, start + step, ...
struct LineNumbering {
  std::int64_t start = 0;
  std::int64_t step = 0;
};
// Text stored into a disk image is numbered 10, 20, 30, ...
inline constexpr LineNumbering kImageLineNumbering{10, 10};

struct RecordsToTextResult {
  std::uint64_t lines = 0;          // records converted
  bool stopped_at_zero_record = false;  // a record holding a zero byte ended it
};

// Converts the records in `data` (a source file's useful bytes: records six
// to a block, 32 zero bytes after every sixth) to PC text: each record's 80
// bytes and CR LF, or with `remove_line_numbers` columns 1 to 74 without their
// trailing blanks and CR LF. Stops at the first record that holds a zero byte
// and where a whole record no longer fits. Returns 0 or the sink's error.
ErrorCode ConvertRecordsToText(std::span<const std::uint8_t> data, bool remove_line_numbers,
                               CByteSink& out, RecordsToTextResult* result = nullptr);

// Builds source records from PC text given in pieces of any size, and hands
// them on in whole 512-byte blocks through a fixed buffer, so a text of any
// length is converted in constant memory.
//
// A line of at most 74 characters becomes one numbered record. A line of
// exactly 80 characters is a record as it stands (no number is generated, the
// counter does not advance): this is how exported records come back. Any
// other longer line continues on further numbered records of 74 characters,
// so no character is lost.
class CTextRecordEncoder {
 public:
  // Blocks go to `out`: six records each, then 32 zero bytes; the last block
  // is zero-padded by Finish.
  CTextRecordEncoder(LineNumbering numbering, CByteSink& out);
  // Only counts the records the text makes (RecordCount, BlockCount), by the
  // same rules, without building them: the first pass of a writer that must
  // announce the length before the data.
  CTextRecordEncoder();

  // Converts the next piece of text. Returns 0, the sink's error or
  // ERR_NOT_ENOUGH_MEMORY; after a failure every later call returns it.
  ErrorCode Append(std::span<const std::uint8_t> text);
  // Converts a last line without LF and writes the last block.
  ErrorCode Finish();

  std::uint64_t RecordCount() const { return records_; }
  std::uint64_t BlockCount() const { return (records_ + kRecordsPerBlock - 1) / kRecordsPerBlock; }
  // True when the text held a zero byte: the record holding it would end
  // every conversion back to text there, so such a text is kept as binary.
  bool HeldZeroByte() const { return held_zero_; }
  // Bytes of the last block's records: 480 for a full block, 0 for none.
  std::uint32_t LastBlockBytes() const {
    if (records_ == 0) return 0;
    return static_cast<std::uint32_t>(((records_ - 1) % kRecordsPerBlock + 1) * kRecordSize);
  }

 private:
  static constexpr std::size_t kBufferBlocks = 128;

  void EmitLine(const std::uint8_t* line, std::size_t length, bool endedByLf);
  void EmitPieces(const std::uint8_t* text, std::size_t length);
  void EmitNumbered(const std::uint8_t* text, std::size_t length);
  void EmitRecord(const std::uint8_t* record);
  void DrainLongLine();
  std::uint8_t* NextRecordSlot();
  void FlushBlocks(std::size_t blocks);

  LineNumbering numbering_;
  std::int64_t number_;
  CByteSink* out_;                     // nullptr: counting only
  std::vector<std::uint8_t> buffer_;   // kBufferBlocks blocks; bytes 480-511 stay zero
  std::size_t slot_ = 0;               // record slots used in `buffer_`
  std::vector<std::uint8_t> partial_;  // a line not yet ended by LF
  bool long_line_ = false;              // the open line is longer than 80
  std::uint64_t records_ = 0;
  bool held_zero_ = false;
  ErrorCode error_ = ERR_OK;
};

// True when the first 80 bytes of a PC file already hold a printer record:
// the byte at offset 74 or 75 (the first digits of the line number) is "0".
bool IsPreformattedRecordFile(std::span<const std::uint8_t> first80);

}  // namespace kelvo
