// Listing the files of a printer disk, with the totals for free space.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "diskfs/directory_walk.h"
#include "diskfs/on_disk.h"
#include "media/sector_source.h"

namespace kelvo {

struct ListedFile {
  std::string name;          // full name as stored, NAME.TYP (upper case);
                             // lists show DisplayName(name): "Report.fnt"
  std::string type;          // the type of the chain holding the entry
  FileEntry entry;           // the raw words
  std::uint16_t directory_lbn = 0;
  std::uint16_t slot = 0;
  std::uint32_t size = 0;  // (w5 - w4) * 512 bytes; 0 when w4 exceeds w5

  // The Properties fields.
  std::uint32_t RecordSize() const { return entry.record_size; }
  std::uint32_t Blocks() const { return std::uint32_t{entry.w6} + entry.blocks_again; }
  std::uint32_t FirstFreeByte() const { return entry.first_free_byte; }
  std::uint32_t StartLbn() const { return std::uint32_t{entry.w9} + entry.start_lbn; }
};

struct DiskListing {
  bool shows_disk_id = false;  // byte 66 of the volume block is non-zero
  std::string disk_id;
  std::uint32_t highest_lbn = 0;
  std::uint64_t capacity = 0;      // highest LBN * 512
  std::uint64_t system_bytes = 0;  // 2560 plus 512 per directory sector walked
  std::uint64_t file_bytes = 0;
  std::vector<ListedFile> files;  // type index order, then chain and slot order
  // Damage met on the way, one sentence each; the files above are what
  // could be listed.
  std::vector<std::string> problems;

  // Capacity less system and file bytes, never below 0.
  std::uint64_t FreeSpace() const;
};

// Full names of the two system files, never listed.
bool IsSystemFileName(std::string_view full_name);

// Walks the whole directory of `carrier` (whose extent in blocks is
// `carrier_blocks` when known). Returns the carrier's read error, else 0; a
// damaged directory is listed as far as it can be and described in
// `problems`.
ErrorCode ListFiles(CSectorSource& carrier, DiskListing& out,
                    std::uint32_t carrier_blocks = kUnknownExtent);

}  // namespace kelvo
