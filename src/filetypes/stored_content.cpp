#include "filetypes/stored_content.h"

#include <algorithm>
#include <cstring>

#include "filetypes/memory_guard.h"

namespace kelvo {

namespace {

constexpr std::size_t kProbeBytes = 82;

std::uint32_t BlocksFor(std::size_t bytes) {
  return static_cast<std::uint32_t>((bytes + kStoreBlockSize - 1) / kStoreBlockSize);
}

// `data` zero-padded to whole blocks.
void CopyPadded(std::span<const std::uint8_t> data, StoredContent& out) {
  out.blocks.assign(std::size_t(BlocksFor(data.size())) * kStoreBlockSize, 0);
  if (!data.empty()) std::memcpy(out.blocks.data(), data.data(), data.size());
}

std::span<const std::uint8_t> LastBlockOf(std::span<const std::uint8_t> data) {
  if (data.empty()) return data;
  return data.subspan((BlocksFor(data.size()) - 1) * kStoreBlockSize);
}

}  // namespace

ErrorCode ImportBinary(std::span<const std::uint8_t> data, StoredContent& out) {
  return GuardMemory([&] {
    CopyPadded(data, out);
    out.kind = ContentKind::Binary;
    out.words = {512, BlocksFor(data.size()), 0};
    out.record_count = 0;
    return ERR_OK;
  });
}

namespace {

// w8 of preformatted records whose last block is `last`.
std::uint32_t LastBlockRecordBytes(std::span<const std::uint8_t> last) {
  const auto zero = std::find(last.begin(), last.end(), std::uint8_t{0});
  const std::size_t text = std::min<std::size_t>(zero - last.begin(), kRecordBytesPerBlock);
  return static_cast<std::uint32_t>(text / kRecordSize * kRecordSize);
}

bool LastBlockKeepsAllBytes(std::span<const std::uint8_t> last) {
  const std::span<const std::uint8_t> beyond =
      last.subspan(std::min<std::size_t>(LastBlockRecordBytes(last), last.size()));
  return std::all_of(beyond.begin(), beyond.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace

std::uint32_t PreformattedLastBlockBytes(std::span<const std::uint8_t> data) {
  return LastBlockRecordBytes(LastBlockOf(data));
}

bool PreformattedKeepsAllBytes(std::span<const std::uint8_t> data) {
  return LastBlockKeepsAllBytes(LastBlockOf(data));
}

ErrorCode ImportPreformatted(std::span<const std::uint8_t> data, StoredContent& out) {
  return GuardMemory([&] {
    CopyPadded(data, out);
    out.kind = ContentKind::PreformattedRecords;
    out.words = {80, BlocksFor(data.size()), PreformattedLastBlockBytes(data)};
    out.record_count = 0;
    return ERR_OK;
  });
}

ErrorCode ConvertTextToRecords(std::span<const std::uint8_t> text, LineNumbering numbering,
                               StoredContent& out) {
  return GuardMemory([&] {
    // Every line feed ends at least one record: room for those up front.
    const std::size_t lines = std::size_t(std::count(text.begin(), text.end(), std::uint8_t{'\n'}));
    out.blocks.clear();
    out.blocks.reserve((lines / kRecordsPerBlock + 1) * kStoreBlockSize);
    CVectorSink sink(out.blocks);
    CTextRecordEncoder encoder(numbering, sink);
    ErrorCode error = encoder.Append(text);
    if (error == ERR_OK) error = encoder.Finish();
    if (error != ERR_OK) return error;
    if (encoder.HeldZeroByte()) return ImportBinary(text, out);
    out.kind = ContentKind::ConvertedText;
    out.record_count = encoder.RecordCount();
    out.words.record_size = kRecordSize;
    out.words.block_count = static_cast<std::uint32_t>(encoder.BlockCount());
    out.words.last_block_bytes = encoder.LastBlockBytes();
    return ERR_OK;
  });
}

ContentKind ChooseImportKind(std::string_view pcName, std::span<const std::uint8_t> data,
                             ImportChoice choice) {
  return ChooseImportKind(pcName, data.first(std::min(data.size(), kImportHeadBytes)),
                          LastBlockOf(data), choice);
}

ContentKind ChooseImportKind(std::string_view pcName, std::span<const std::uint8_t> head,
                             std::span<const std::uint8_t> lastBlock, ImportChoice choice) {
  if (!IsSourceFile(pcName, head)) return ContentKind::Binary;
  const std::span<const std::uint8_t> probe = head.first(std::min(head.size(), kProbeBytes));
  if (std::find(probe.begin(), probe.end(), std::uint8_t{'\n'}) != probe.end()) {
    return ContentKind::ConvertedText;
  }
  // The image form looks at a zero-filled 82-byte buffer: a shorter file has
  // zero bytes in it.
  if (choice.zero_filled_probe && probe.size() < kProbeBytes) return ContentKind::Binary;
  if (std::any_of(probe.begin(), probe.end(), [](std::uint8_t b) { return b < 0x0A || b > 0x7F; })) {
    return ContentKind::Binary;
  }
  // Records whose last block would lose bytes beyond its whole records are
  // kept as binary instead.
  if (IsPreformattedRecordFile(head.first(std::min<std::size_t>(head.size(), kRecordSize))) &&
      LastBlockKeepsAllBytes(lastBlock)) {
    return ContentKind::PreformattedRecords;
  }
  return ContentKind::Binary;
}

ErrorCode PrepareStoredContent(std::string_view pcName, std::span<const std::uint8_t> fileBytes,
                               const ImportOptions& options, StoredContent& out) {
  const std::size_t label =
      RetainedLabelLength(fileBytes.first(std::min<std::size_t>(fileBytes.size(), 512)), pcName);
  const std::span<const std::uint8_t> data = fileBytes.subspan(label);
  switch (ChooseImportKind(pcName, data, options.choice)) {
    case ContentKind::ConvertedText: return ConvertTextToRecords(data, options.numbering, out);
    case ContentKind::PreformattedRecords: return ImportPreformatted(data, out);
    case ContentKind::Binary: break;
  }
  return ImportBinary(data, out);
}

std::size_t UsefulLength(const EntryWords& words, std::size_t available) {
  std::size_t length = 0;
  if (words.record_size == kRecordSize) {
    if (words.block_count > 0) {
      length = std::size_t(words.block_count - 1) * kStoreBlockSize +
               std::min<std::size_t>(words.last_block_bytes, kStoreBlockSize);
    }
  } else {
    length = std::size_t(words.block_count) * kStoreBlockSize;
  }
  return std::min(length, available);
}

ErrorCode ExportStoredFile(std::string_view typeCode, const EntryWords& words,
                           std::span<const std::uint8_t> blocks, const ExportOptions& options,
                           CByteSink& out) {
  const std::span<const std::uint8_t> useful = blocks.first(UsefulLength(words, blocks.size()));
  if (words.record_size != kRecordSize || !IsSourceFile(typeCode, useful)) {
    const std::size_t whole = std::min<std::size_t>(std::size_t(words.block_count) * kStoreBlockSize,
                                                    blocks.size());
    return whole == 0 ? ERR_OK : out.Write(blocks.first(whole));
  }
  if (options.retain_format) return useful.empty() ? ERR_OK : out.Write(useful);
  return ConvertRecordsToText(useful, options.remove_line_numbers, out);
}

}  // namespace kelvo
