// The 128-byte label that precedes every file on a labelled tape, and the
// name rules the tape operations apply to it.
//
// Layout (little-endian; every byte not listed is 0):
//   0  u16 name characters 1-3, RADIX-50     18  6 bytes name, upper-case ASCII
//   2  u16 name characters 4-6, RADIX-50     27  3 bytes type, upper-case ASCII
//   4  u16 type, RADIX-50                    30  u32 block count when > 65535
//   6  u16 block count when <= 65535, else 0 127  "*"
//   8  u16 bytes used in the last 512-byte block
//  10  u16 date: (year - 1970) * 1000 + day of the year
//  12  u16 record length: 80 source records, 512 binary
//  14  u16 tape block size in bytes (low 16 bits)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvo {

inline constexpr std::size_t kTapeLabelSize = 128;
using TapeLabelBytes = std::array<std::uint8_t, kTapeLabelSize>;

struct TapeFileLabel {
  std::string name;  // base name; upper-cased and cut to 6 characters when encoded
  std::string type;  // type code; upper-cased and cut to 3 characters
  std::uint32_t blocks = 0;
  std::uint16_t last_block_bytes = 0;
  std::uint16_t date = 0;
  std::uint16_t record_length = 512;
  std::uint32_t block_size = 8192;
};

TapeLabelBytes EncodeTapeLabel(const TapeFileLabel& label);

// The file name of a label as the restore and the listing form it: the ASCII
// fields, or the RADIX-50 words when byte 18 is 0; "BASE.TYP", upper case.
struct TapeLabelName {
  std::string name;
  std::string type;
};
TapeLabelName LabelFileName(const std::uint8_t* label);

// The block count: offset 30 when nonzero, else offset 6.
std::uint32_t LabelBlockCount(const std::uint8_t* label);
std::uint16_t LabelLastBlockBytes(const std::uint8_t* label);
std::uint16_t LabelRecordLength(const std::uint8_t* label);

// The date field for a day: (year - 1970) * 1000 + day of the year, February
// counting 29 days in years divisible by 4; kept to 16 bits.
std::uint16_t EncodeTapeDate(int year, int month, int day);
// Today's date, local time.
std::uint16_t EncodeTapeDate();

// Whether a tape file holds source records: record length 80 and type CMD,
// FSL, JSL or PCH, or LIB or TMP whose last-block count is not 512. A file
// with record length 512 is never a source file.
bool IsSourceLabel(const std::string& name, const std::uint8_t* label);

// Whether `name` matches the file specification `spec` (wildcards "*" and
// "?" in the base name, "*" in the type).
bool MatchFileSpec(const std::string& name, const std::string& spec);

// True for the name that ends the files of a tape, "endfil.end" (any case).
bool IsEndOfFilesName(const std::string& name);

std::string UpperCase(std::string text);

}  // namespace kelvo
