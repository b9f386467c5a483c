// The structures of a QVA save tape: the printer's own dump of one or more
// disk units, possibly spread over several tape volumes. Read only.
//
// Layout (variable-length blocks, FM a filemark):
//   volume header (first bytes 77 00 08 02) FM
//   characteristics block (128 bytes) FM
//   per disk unit: [disk-unit marker] Master File Directory (512 bytes, the
//     unit's volume block), then per type of its type index the type's
//     directory sectors followed by the data of the files they list, FM
//   end of recorded data
// Any 14-byte block is a control record: a disk-unit marker, an end-of-volume
// record, or the first block of a continuation volume (its volume number).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvo {

inline constexpr std::size_t kQvaSectorSize = 512;
inline constexpr std::size_t kQvaControlRecordSize = 14;
inline constexpr std::size_t kQvaCharacteristicsSize = 128;
// A directory block of this size whose last sector still links onward ends
// a batch of entries: the next directory block continues the same type.
inline constexpr std::size_t kQvaFullDirectoryBlock = 12288;
inline constexpr std::uint16_t kQvaSystemTypeWord = 0xACC3;  // "$Y$"
inline constexpr std::uint16_t kQvaDiskUnitMarkWord = 0xF3CF;
inline constexpr std::size_t kQvaSystemIdOffset = 68;
inline constexpr std::size_t kQvaSystemIdLength = 30;
inline constexpr std::size_t kQvaTypeIndexOffset = 100;
inline constexpr std::size_t kQvaTypeIndexEntrySize = 6;
inline constexpr std::size_t kQvaEntriesPerSector = 23;
inline constexpr std::size_t kQvaEntrySize = 22;

std::uint16_t QvaWord(const std::uint8_t* bytes, std::size_t offset);

// The first four bytes of a volume header.
bool IsQvaVolumeHeader(const std::uint8_t* block, std::size_t length);
// A Master File Directory: 512 bytes with the "$Y$" type at offset 100.
bool IsQvaMasterFileDirectory(const std::uint8_t* block, std::size_t length);
// The identification text at offset 68 (up to 30 bytes, ends at a zero byte).
std::string QvaSystemId(const std::uint8_t* mfd);
// The decoded type of type index entry `position`; empty past the end of the
// index (a zero type word, or the end of the block).
std::string QvaIndexType(const std::uint8_t* mfd, std::size_t position);

enum class QvaControlKind { DiskUnitMarker, EndOfVolume, Other };
QvaControlKind ClassifyQvaControlRecord(const std::uint8_t* record);
// "DP%d:" with the unit number (word 4 minus 1) of a disk-unit marker.
std::string QvaDiskUnitText(const std::uint8_t* record);
// The volume number held by the first block of a continuation volume.
inline std::uint16_t QvaContinuationVolume(const std::uint8_t* record) { return QvaWord(record, 0); }

// One file of a type's directory batch.
struct QvaFileEntry {
  std::string name;  // "NAME.TYP"
  std::uint64_t byte_length = 0;
  std::uint16_t record_length = 0;
  std::uint16_t last_block_bytes = 0;
};

// Adds every used entry (w0 != 0) of a 512-byte directory sector to `table`
// and tells whether the sector links onward (its words 0 and 1 are not both
// 0).
bool ReadQvaDirectorySector(const std::uint8_t* sector, const std::string& type,
                            std::vector<QvaFileEntry>& table);

// Whether a file holds source records: record length 80 and a type of CMD,
// FSL, JSL or PCH, or of LIB, TMP or MSC with last-block bytes other than
// 512 (types in any case). A file of another record length is copied byte
// for byte.
bool IsSourceEntry(const std::string& type, std::uint16_t record_length,
                   std::uint16_t last_block_bytes);

// The system types that "user files only" leaves out.
bool IsQvaSystemType(const std::string& type);

// "user files only" for a restore by `spec`: switched off when the
// specification names a system type (its last three characters), unless it
// is empty or "*.*".
bool EffectiveUserFilesOnly(const std::string& spec, bool user_files_only);

}  // namespace kelvo
