#include "filetypes/source_conversion.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "filetypes/file_types.h"
#include "filetypes/memory_guard.h"

namespace kelvo {

namespace {

constexpr std::size_t kTextProbeBytes = 256;

bool IsTextByte(std::uint8_t b) { return b == '\r' || b == '\n' || (b >= 0x20 && b <= 0x7A); }

// Writes the line number into the six number columns: "%06d", cut to its
// first six characters.
void WriteLineNumber(std::int64_t number, std::uint8_t* columns) {
  if (number >= 0) {
    // Past six digits the leading six are kept.
    while (number > 999999) number /= 10;
    for (int i = 5; i >= 0; --i) {
      columns[i] = std::uint8_t('0' + number % 10);
      number /= 10;
    }
    return;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%06lld", static_cast<long long>(number));
  std::memcpy(columns, text, kLineNumberColumns);
}

// Columns 1 to 74 of a record without their trailing blanks, eight
// columns at a time while they are all blank.
std::size_t TextLength(const std::uint8_t* record) {
  constexpr std::uint64_t kBlanks = 0x2020202020202020ull;
  std::size_t length = kRecordTextColumns;
  while (length >= 8) {
    std::uint64_t word;
    std::memcpy(&word, record + length - 8, 8);
    if (word != kBlanks) break;
    length -= 8;
  }
  while (length > 0 && record[length - 1] == ' ') --length;
  return length;
}

// Collects output in a fixed buffer and hands it to the sink in large pieces.
class CBufferedWriter {
 public:
  explicit CBufferedWriter(CByteSink& sink) : sink_(sink) {}
  // Room for at least `n` (at most the buffer's size) bytes, flushing first
  // when needed; returns nullptr after a failed flush.
  std::uint8_t* Reserve(std::size_t n) {
    if (used_ + n > buffer_.size() && Flush() != ERR_OK) return nullptr;
    return buffer_.data() + used_;
  }
  void Commit(std::size_t n) { used_ += n; }
  ErrorCode Flush() {
    if (error_ == ERR_OK && used_ > 0) error_ = sink_.Write({buffer_.data(), used_});
    used_ = 0;
    return error_;
  }

 private:
  CByteSink& sink_;
  std::array<std::uint8_t, 32768> buffer_;
  std::size_t used_ = 0;
  ErrorCode error_ = ERR_OK;
};

}  // namespace

bool IsSourceFile(std::string_view pcNameOrType, std::span<const std::uint8_t> usefulBytes) {
  const std::string_view type =
      pcNameOrType.size() <= 3 ? pcNameOrType : pcNameOrType.substr(pcNameOrType.size() - 3);
  const FileTypeInfo* info = FindFileType(type);
  if (info == nullptr) return false;
  switch (info->source) {
    case SourceKind::Always: return true;
    case SourceKind::Never: return false;
    case SourceKind::WhenText: break;
  }
  const std::span<const std::uint8_t> probe =
      usefulBytes.first(std::min(usefulBytes.size(), kTextProbeBytes));
  return std::all_of(probe.begin(), probe.end(), IsTextByte);
}

ErrorCode ConvertRecordsToText(std::span<const std::uint8_t> data, bool remove_line_numbers,
                               CByteSink& out, RecordsToTextResult* result) {
  RecordsToTextResult local;
  CBufferedWriter writer(out);
  std::size_t offset = 0;
  std::size_t inBlock = 0;
  while (offset + kRecordSize <= data.size()) {
    const std::uint8_t* record = data.data() + offset;
    if (std::memchr(record, 0, kRecordSize) != nullptr) {
      local.stopped_at_zero_record = true;
      break;
    }
    std::size_t length = kRecordSize;
    if (remove_line_numbers) length = TextLength(record);
    std::uint8_t* line = writer.Reserve(kRecordSize + 2);
    if (line == nullptr) break;
    std::memcpy(line, record, kRecordSize);
    line[length] = '\r';
    line[length + 1] = '\n';
    writer.Commit(length + 2);
    ++local.lines;
    offset += kRecordSize;
    if (++inBlock == kRecordsPerBlock) {
      inBlock = 0;
      offset += kStoreBlockSize - kRecordBytesPerBlock;
    }
  }
  const ErrorCode error = writer.Flush();
  if (result != nullptr) *result = local;
  return error;
}

bool IsPreformattedRecordFile(std::span<const std::uint8_t> first80) {
  return (first80.size() > 74 && first80[74] == '0') || (first80.size() > 75 && first80[75] == '0');
}

// --- Text to records -------------------------------------------------------

CTextRecordEncoder::CTextRecordEncoder(LineNumbering numbering, CByteSink& out)
    : numbering_(numbering), number_(numbering.start), out_(&out) {}

CTextRecordEncoder::CTextRecordEncoder() : numbering_{0, 0}, number_(0), out_(nullptr) {}

void CTextRecordEncoder::FlushBlocks(std::size_t blocks) {
  if (error_ == ERR_OK && blocks > 0) error_ = out_->Write({buffer_.data(), blocks * kStoreBlockSize});
}

std::uint8_t* CTextRecordEncoder::NextRecordSlot() {
  if (buffer_.empty()) buffer_.assign(kBufferBlocks * kStoreBlockSize, 0);
  if (slot_ == kBufferBlocks * kRecordsPerBlock) {
    FlushBlocks(kBufferBlocks);
    slot_ = 0;
  }
  const std::size_t at = slot_ / kRecordsPerBlock * kStoreBlockSize + slot_ % kRecordsPerBlock * kRecordSize;
  ++slot_;
  return buffer_.data() + at;
}

void CTextRecordEncoder::EmitRecord(const std::uint8_t* record) {
  ++records_;
  if (out_ == nullptr) return;
  std::memcpy(NextRecordSlot(), record, kRecordSize);
}

void CTextRecordEncoder::EmitNumbered(const std::uint8_t* text, std::size_t length) {
  ++records_;
  if (out_ == nullptr) return;
  std::uint8_t* slot = NextRecordSlot();
  // Blank columns first as one fixed-size copy, then the text over them.
  static constexpr std::array<std::uint8_t, kRecordTextColumns> kBlankColumns = [] {
    std::array<std::uint8_t, kRecordTextColumns> blanks{};
    blanks.fill(' ');
    return blanks;
  }();
  std::memcpy(slot, kBlankColumns.data(), kRecordTextColumns);
  std::memcpy(slot, text, length);
  WriteLineNumber(number_, slot + kRecordTextColumns);
  number_ = static_cast<std::int64_t>(static_cast<std::uint64_t>(number_) +
                                      static_cast<std::uint64_t>(numbering_.step));
}

void CTextRecordEncoder::EmitPieces(const std::uint8_t* text, std::size_t length) {
  while (length > 0) {
    const std::size_t n = std::min(length, kRecordTextColumns);
    EmitNumbered(text, n);
    text += n;
    length -= n;
  }
}

void CTextRecordEncoder::EmitLine(const std::uint8_t* line, std::size_t length, bool endedByLf) {
  if (endedByLf && length > 0 && line[length - 1] == '\r') --length;
  if (long_line_) {
    long_line_ = false;
    EmitPieces(line, length);
  } else if (length <= kRecordTextColumns) {
    EmitNumbered(line, length);
  } else if (length == kRecordSize) {
    EmitRecord(line);
  } else {
    EmitPieces(line, length);
  }
}

void CTextRecordEncoder::DrainLongLine() {
  // Characters that are surely text: all but a last CR, which an LF may
  // still turn into part of the line end.
  std::size_t known = partial_.size();
  if (known > 0 && partial_.back() == '\r') --known;
  if (!long_line_ && known > kRecordSize) long_line_ = true;
  if (!long_line_) return;
  std::size_t done = 0;
  while (known - done >= kRecordTextColumns) {
    EmitNumbered(partial_.data() + done, kRecordTextColumns);
    done += kRecordTextColumns;
  }
  partial_.erase(partial_.begin(), partial_.begin() + static_cast<std::ptrdiff_t>(done));
}

ErrorCode CTextRecordEncoder::Append(std::span<const std::uint8_t> text) {
  if (error_ != ERR_OK) return error_;
  if (!held_zero_ && !text.empty() && std::memchr(text.data(), 0, text.size()) != nullptr)
    held_zero_ = true;
  const ErrorCode memory = GuardMemory([&] {
    const std::uint8_t* p = text.data();
    const std::uint8_t* const end = p + text.size();
    if (!partial_.empty() || long_line_) {
      const auto* lf = static_cast<const std::uint8_t*>(std::memchr(p, '\n', text.size()));
      if (lf == nullptr) {
        partial_.insert(partial_.end(), p, end);
        DrainLongLine();
        return ERR_OK;
      }
      partial_.insert(partial_.end(), p, lf);
      EmitLine(partial_.data(), partial_.size(), true);
      partial_.clear();
      p = lf + 1;
    }
    while (p < end && error_ == ERR_OK) {
      const auto* lf =
          static_cast<const std::uint8_t*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      if (lf == nullptr) {
        partial_.assign(p, end);
        DrainLongLine();
        break;
      }
      EmitLine(p, static_cast<std::size_t>(lf - p), true);
      p = lf + 1;
    }
    return ERR_OK;
  });
  if (error_ == ERR_OK) error_ = memory;
  return error_;
}

ErrorCode CTextRecordEncoder::Finish() {
  if (error_ != ERR_OK) return error_;
  const ErrorCode memory = GuardMemory([&] {
    if (!partial_.empty() || long_line_) EmitLine(partial_.data(), partial_.size(), false);
    partial_.clear();
    long_line_ = false;
    if (slot_ > 0 && out_ != nullptr) {
      // Clear what an earlier round left in the unused slots of the last block.
      const std::size_t blocks = (slot_ + kRecordsPerBlock - 1) / kRecordsPerBlock;
      const std::size_t used = slot_ % kRecordsPerBlock;
      if (used != 0) {
        std::uint8_t* last = buffer_.data() + (blocks - 1) * kStoreBlockSize;
        std::memset(last + used * kRecordSize, 0, kRecordBytesPerBlock - used * kRecordSize);
      }
      FlushBlocks(blocks);
      slot_ = 0;
    }
    return ERR_OK;
  });
  if (error_ == ERR_OK) error_ = memory;
  return error_;
}

}  // namespace kelvo
