#include "filetypes/source_conversion.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>

#include "filetypes/file_types.h"

namespace kelvo {

namespace {

constexpr std::size_t kTextProbeBytes = 256;

bool IsTextByte(std::uint8_t b) { return b == '\r' || b == '\n' || (b >= 0x20 && b <= 0x7A); }

// Writes the line number into the six number columns: "%06d", cut to its
// first six characters.
void WriteLineNumber(std::int64_t number, std::uint8_t* columns) {
  if (number >= 0 && number <= 999999) {
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

// Collects output in a fixed buffer and hands it to the sink in large pieces.
class BufferedWriter {
 public:
  explicit BufferedWriter(CByteSink& sink) : sink_(sink) {}
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
  ErrorCode error() const { return error_; }

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
  if (info == nullptr || info->code == kSystemTypeCode) return false;
  switch (info->source) {
    case SourceKind::Always: return true;
    case SourceKind::Never: return false;
    case SourceKind::WhenText: break;
  }
  const std::span<const std::uint8_t> probe =
      usefulBytes.first(std::min(usefulBytes.size(), kTextProbeBytes));
  return std::all_of(probe.begin(), probe.end(), IsTextByte);
}

ErrorCode ConvertRecordsToText(std::span<const std::uint8_t> data, bool removeLineNumbers,
                               CByteSink& out, RecordsToTextResult* result) {
  RecordsToTextResult local;
  BufferedWriter writer(out);
  std::size_t offset = 0;
  std::size_t inBlock = 0;
  while (offset + kRecordSize <= data.size()) {
    const std::uint8_t* record = data.data() + offset;
    if (std::memchr(record, 0, kRecordSize) != nullptr) {
      local.stoppedAtZeroRecord = true;
      break;
    }
    std::size_t length = kRecordSize;
    if (removeLineNumbers) {
      length = kRecordTextColumns;
      while (length > 0 && record[length - 1] == ' ') --length;
    }
    std::uint8_t* line = writer.Reserve(kRecordSize + 2);
    if (line == nullptr) break;
    std::memcpy(line, record, length);
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

CTextRecordEncoder::CTextRecordEncoder(LineNumbering numbering, std::vector<std::uint8_t>& out)
    : numbering_(numbering), number_(numbering.start), out_(out), base_(out.size()) {}

std::uint8_t* CTextRecordEncoder::NextRecordSlot() {
  const std::size_t inBlock = records_ % kRecordsPerBlock;
  const std::size_t blockStart = base_ + (records_ / kRecordsPerBlock) * kStoreBlockSize;
  if (inBlock == 0 && out_.size() < blockStart + kStoreBlockSize) {
    // Grow in large steps; the new bytes are zero, which gives every block
    // its 32 trailing zero bytes and the last block its padding.
    out_.resize(std::max(blockStart + kStoreBlockSize, out_.size() * 2));
  }
  return out_.data() + blockStart + inBlock * kRecordSize;
}

void CTextRecordEncoder::EmitRecord(const std::uint8_t* record) {
  std::memcpy(NextRecordSlot(), record, kRecordSize);
  ++records_;
}

void CTextRecordEncoder::EmitNumbered(const std::uint8_t* text, std::size_t length) {
  std::uint8_t* slot = NextRecordSlot();
  std::memcpy(slot, text, length);
  std::memset(slot + length, ' ', kRecordTextColumns - length);
  WriteLineNumber(number_, slot + kRecordTextColumns);
  number_ = static_cast<std::int64_t>(static_cast<std::uint64_t>(number_) +
                                      static_cast<std::uint64_t>(numbering_.step));
  ++records_;
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
  if (longLine_) {
    longLine_ = false;
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
  if (!longLine_ && known > kRecordSize) longLine_ = true;
  if (!longLine_) return;
  std::size_t done = 0;
  while (known - done >= kRecordTextColumns) {
    EmitNumbered(partial_.data() + done, kRecordTextColumns);
    done += kRecordTextColumns;
  }
  partial_.erase(partial_.begin(), partial_.begin() + static_cast<std::ptrdiff_t>(done));
}

ErrorCode CTextRecordEncoder::Append(std::span<const std::uint8_t> text) {
  try {
    const std::uint8_t* p = text.data();
    const std::uint8_t* const end = p + text.size();
    if (!partial_.empty() || longLine_) {
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
    while (p < end) {
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
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  } catch (const std::length_error&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  return ERR_OK;
}

ErrorCode CTextRecordEncoder::Finish() {
  try {
    if (!partial_.empty() || longLine_) EmitLine(partial_.data(), partial_.size(), false);
    partial_.clear();
    const std::size_t blocks = (records_ + kRecordsPerBlock - 1) / kRecordsPerBlock;
    out_.resize(base_ + blocks * kStoreBlockSize);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  } catch (const std::length_error&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  return ERR_OK;
}

}  // namespace kelvo
