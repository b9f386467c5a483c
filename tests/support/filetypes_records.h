// Small builders of source records and PC text for the file type tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo::test {

std::vector<std::uint8_t> Bytes(std::string_view text);
std::string Text(const std::vector<std::uint8_t>& bytes);

// One 80-byte record: `text` blank-padded to 74 columns, then `number` as
// six digits.
std::string SourceRecord(std::string_view text, int number);

// Records laid out six to a block with 32 zero bytes after every sixth; the
// last block is zero-padded when `padLastBlock`.
std::vector<std::uint8_t> RecordBlocks(const std::vector<std::string>& records,
                                       bool padLastBlock = true);

// Deterministic printable-ASCII lines of 0 to `maxLength` characters.
std::vector<std::string> PrintableLines(std::size_t count, std::size_t maxLength,
                                        std::uint32_t seed);

}  // namespace kelvo::test
