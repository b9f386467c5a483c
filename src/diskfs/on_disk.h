// The on-disk structures of a printer disk, with byte-exact little-endian
// encoders and decoders.
//
// Layout of a disk made by CreateFileSystem: LBN 0 boot block, 1 volume block,
// 2 boot block copy, 3 the bad-block file, 4 the allocation bitmap, 5-79 the
// directory sectors of the 35 types, file data from LBN 80. Directory
// positions are always taken from the type index, never assumed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "media/sector_source.h"

namespace kelvo {

using Block = std::array<std::uint8_t, kBlockSize>;

inline constexpr std::uint16_t kVolumeBlockLbn = 1;
inline constexpr std::uint16_t kSystemAreaBlocks = 80;  // blocks built by CreateFileSystem
inline constexpr std::size_t kTypeIndexOffset = 100;
inline constexpr std::size_t kTypeIndexEntrySize = 6;
inline constexpr std::size_t kTypeIndexCapacity = (kBlockSize - kTypeIndexOffset) / kTypeIndexEntrySize;
inline constexpr std::size_t kDiskIdMarkerOffset = 66;
inline constexpr std::size_t kDiskIdOffset = 68;
inline constexpr std::size_t kDiskIdFieldSize = 32;
inline constexpr std::size_t kDiskIdMaxLength = 30;
inline constexpr std::size_t kSlotsPerSector = 23;
inline constexpr std::size_t kFileEntrySize = 22;
inline constexpr std::size_t kFirstSlotOffset = 4;
inline constexpr std::uint16_t kSystemTypeWord = 0xACC3;  // "$Y$", the recognition mark
inline constexpr std::size_t kBitmapBits = kBlockSize * 8;  // blocks one bitmap sector covers

std::uint16_t GetWord(const std::uint8_t* p);
void PutWord(std::uint8_t* p, std::uint16_t value);

// LBN 0 and 2: fixed words and a text; never read by the system.
void EncodeBootBlock(std::uint8_t* block);

struct TypeIndexEntry {
  std::uint16_t type_code = 0;  // RADIX-50 of the three-character type
  std::uint16_t reserved = 0;
  std::uint16_t directory_lbn = 0;  // first DirectorySector of the type

  static TypeIndexEntry Decode(const std::uint8_t* p);
  void Encode(std::uint8_t* p) const;
};

// LBN 1. Every byte of the block is kept, so Decode then Encode gives the
// block back unchanged.
struct VolumeBlock {
  std::uint16_t reserved0 = 0;
  std::uint16_t highest_lbn = 0;
  std::uint16_t heads = 0;
  std::uint16_t sectors_per_track = 0;
  std::uint16_t constant8 = 0;
  std::uint16_t reserved10 = 0;
  std::uint16_t bitmap_lbn = 0;
  std::uint16_t reserved14 = 0;
  std::uint16_t constant16 = 0;
  std::array<std::uint8_t, 48> reserved18{};
  std::array<std::uint8_t, 2> id_marker{};  // "I", "D"
  std::array<std::uint8_t, kDiskIdFieldSize> disk_id{};
  // All entries the block can hold; the index ends at the first type code 0.
  std::array<TypeIndexEntry, kTypeIndexCapacity> type_index{};
  std::array<std::uint8_t, kBlockSize - kTypeIndexOffset - kTypeIndexCapacity * kTypeIndexEntrySize>
      tail{};

  static VolumeBlock Decode(const std::uint8_t* block);
  void Encode(std::uint8_t* block) const;

  // A disk ID is shown only when the byte at offset 66 is non-zero.
  bool ShowsDiskId() const { return id_marker[0] != 0; }
  // The zero-terminated text at offset 68 (at most 32 bytes).
  std::string DiskIdText() const;
  // Sets "ID" and the text (cut to 30 characters, zero-filled).
  void SetDiskId(std::string_view text);
  // Number of entries before the first type code 0.
  std::size_t TypeCount() const;
};

// One 22-byte directory slot, words w0 to w10.
struct FileEntry {
  std::uint16_t name1 = 0;  // w0: characters 1-3; 0 marks a free slot
  std::uint16_t name2 = 0;  // w1: characters 4-6
  std::uint16_t w2 = 0;
  std::uint16_t record_size = 0;  // w3: 512 binary, 80 records
  std::uint16_t w4 = 0;
  std::uint16_t blocks = 0;  // w5
  std::uint16_t w6 = 0;
  std::uint16_t blocks_again = 0;  // w7
  std::uint16_t first_free_byte = 0;  // w8: bytes used in the last block
  std::uint16_t w9 = 0;
  std::uint16_t start_lbn = 0;  // w10

  bool IsFree() const { return name1 == 0; }
  // Decoded w0 then w1 (0 to 6 characters).
  std::string BaseName() const;

  static FileEntry Decode(const std::uint8_t* p);
  void Encode(std::uint8_t* p) const;
  friend bool operator==(const FileEntry&, const FileEntry&) = default;
};

struct DirectorySector {
  std::uint16_t reserved = 0;
  std::uint16_t next_lbn = 0;  // next sector of the same type, 0 at the end
  std::array<FileEntry, kSlotsPerSector> slots{};
  std::uint16_t spare = 0;  // offsets 510-511

  static DirectorySector Decode(const std::uint8_t* block);
  void Encode(std::uint8_t* block) const;
};

// Reads and writes a single slot of a raw directory block in place.
FileEntry GetSlot(const std::uint8_t* block, std::size_t slot);
void PutSlot(std::uint8_t* block, std::size_t slot, const FileEntry& entry);
inline std::uint16_t GetNextLink(const std::uint8_t* block) { return GetWord(block + 2); }

// The allocation bitmap sector: bit n mod 8 of byte n div 8 is block n;
// 1 = free, 0 = used. Changes are confined to blocks 0 to `highest_lbn`.
class CAllocationBitmap {
 public:
  explicit CAllocationBitmap(std::span<std::uint8_t, kBlockSize> sector) : bits_(sector) {}

  bool IsFree(std::uint32_t block) const;
  // Mark [first, first + count) free or used; blocks above `highest_lbn` (or
  // beyond the sector) are left alone. Returns how many bits were in range.
  std::uint32_t MarkFree(std::uint32_t first, std::uint32_t count, std::uint32_t highest_lbn);
  std::uint32_t MarkUsed(std::uint32_t first, std::uint32_t count, std::uint32_t highest_lbn);

 private:
  std::uint32_t Mark(std::uint32_t first, std::uint32_t count, std::uint32_t highest_lbn, bool free);
  std::span<std::uint8_t, kBlockSize> bits_;
};

// First fit over one bitmap sector: the start of the lowest run of `count`
// free blocks among blocks 0 to min(highest_lbn, 4095). Returns 0 and sets
// `start`, or 39 (insufficient disk space).
ErrorCode FindFreeBlocks(const std::uint8_t* bitmap_sector, std::uint32_t count,
                         std::uint16_t& start, std::uint32_t highest_lbn = kBitmapBits - 1);

// The 35 types of a printer disk in type-index order, with the number of
// directory sectors each receives at creation.
struct TypeDirectoryRow {
  const char* type;
  std::uint16_t sectors;
};
inline constexpr std::array<TypeDirectoryRow, 35> TypeDirectoryTable{{
    {"$Y$", 1}, {"CMD", 2}, {"CME", 1}, {"DAT", 1}, {"FIS", 1}, {"FN6", 2}, {"FNT", 5},
    {"FR6", 2}, {"FRM", 5}, {"FSL", 5}, {"ICT", 2}, {"IDR", 2}, {"IM6", 3}, {"IMG", 2},
    {"VFF", 1}, {"VFM", 1}, {"ISL", 2}, {"JDL", 4}, {"JSL", 4}, {"LG6", 2}, {"LGO", 2},
    {"LIB", 2}, {"LOG", 2}, {"MSC", 1}, {"OSD", 1}, {"PCH", 5}, {"PDE", 3}, {"SAF", 2},
    {"STK", 2}, {"SYS", 1}, {"TPF", 1}, {"TMP", 1}, {"TSK", 2}, {"TST", 1}, {"KCS", 1},
}};

}  // namespace kelvo
