// What a PC file becomes on a printer medium, and back.
//
// Storing: the retained tape label is removed, then the content is stored
// as binary blocks, as records converted from text, or as records already in
// the printer layout. The directory entry words it needs come with it.
// Exporting: whole blocks for binary files; for source files either the
// records as they stand ("Retain MQS Format") or PC text.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "filetypes/byte_sink.h"
#include "filetypes/source_conversion.h"
#include "core/error_codes.h"

namespace kelvo {

enum class ContentKind { Binary, ConvertedText, PreformattedRecords };

// The entry words that describe a stored file's data.
struct EntryWords {
  std::uint32_t record_size = 512;    // w3: 80 for records, 512 for binary
  std::uint32_t block_count = 0;      // w5 (and w7)
  std::uint32_t last_block_bytes = 0;  // w8: bytes used in the last block
};

struct StoredContent {
  ContentKind kind = ContentKind::Binary;
  EntryWords words;
  std::vector<std::uint8_t> blocks;  // words.block_count * 512 bytes
  std::uint64_t record_count = 0;     // records made from text
};

// Length of a retained tape label at the start of a PC file: 0, 128 or 512.
// `head` is the file's first 512 bytes (all of it when shorter). A label is
// only seen in at least 128 bytes whose byte 127 is "*"; its name (offset 18)
// or type (offset 27) must match the PC name. It is 512 long when the file
// has 512 bytes and bytes 128 to 511 are all zero, else 128.
std::size_t RetainedLabelLength(std::span<const std::uint8_t> head, std::string_view pcName);

// Binary store: `data` zero-padded to whole blocks; w3 512, w8 0.
ErrorCode ImportBinary(std::span<const std::uint8_t> data, StoredContent& out);

// Preformatted store: `data` unchanged, zero-padded to whole blocks; w3 80;
// w8 the text at the start of the last block up to its first zero byte, at
// most 480, rounded down to whole records.
ErrorCode ImportPreformatted(std::span<const std::uint8_t> data, StoredContent& out);

// w8 of a preformatted file, by the rule above.
std::uint32_t PreformattedLastBlockBytes(std::span<const std::uint8_t> data);

// True when the preformatted layout keeps every nonzero byte of `data`: only
// zero bytes lie beyond w8 in the last block.
bool PreformattedKeepsAllBytes(std::span<const std::uint8_t> data);

// Text store: the records of ConvertTextToRecords; w3 80, w8 the bytes of the
// last block's records (480 for a full block; 0 when there are no records).
// A text holding a zero byte is stored as binary instead (kind Binary), since
// its records would come back only up to that byte.
ErrorCode ConvertTextToRecords(std::span<const std::uint8_t> text, LineNumbering numbering,
                               StoredContent& out);

// How the content of a source-type file is to be stored.
struct ImportChoice {
  // Image form: the 82-byte probe is zero-filled beyond the data, so a file
  // of fewer than 82 bytes without a line feed is stored as binary.
  bool zero_filled_probe = false;
};
// The rule of every store (disk images, floppies and tapes), applied to
// `data`, a PC file's content after its retained label.
ContentKind ChooseImportKind(std::string_view pcName, std::span<const std::uint8_t> data,
                             ImportChoice choice = {});
// The same rule seen through the data's first kImportHeadBytes bytes (all of
// them when fewer) and its last, possibly partial, block: for writers that
// stream a file instead of holding it.
inline constexpr std::size_t kImportHeadBytes = 256;
ContentKind ChooseImportKind(std::string_view pcName, std::span<const std::uint8_t> head,
                             std::span<const std::uint8_t> lastBlock, ImportChoice choice = {});

struct ImportOptions {
  LineNumbering numbering;  // kImageLineNumbering for images
  ImportChoice choice;
};

// The whole store preparation for a PC file: label removed, kind chosen,
// content built.
ErrorCode PrepareStoredContent(std::string_view pcName, std::span<const std::uint8_t> fileBytes,
                               const ImportOptions& options, StoredContent& out);

// The useful bytes of a stored file: block_count * 512 for binary, and
// (block_count - 1) * 512 + w8 for records (0 for 0 blocks); never more than
// `available`.
std::size_t UsefulLength(const EntryWords& words, std::size_t available);

struct ExportOptions {
  bool retain_format = false;       // "Retain MQS Format"
  bool remove_line_numbers = false;  // "Remove Line Numbers"
};

// Writes a stored file to a PC file. The record size decides: a file stored
// as binary (w3 not 80) or of a type that is not source text is written as
// its whole blocks; a source file as its useful bytes with `retain_format`,
// else as PC text.
ErrorCode ExportStoredFile(std::string_view typeCode, const EntryWords& words,
                           std::span<const std::uint8_t> blocks, const ExportOptions& options,
                           CByteSink& out);

}  // namespace kelvo
