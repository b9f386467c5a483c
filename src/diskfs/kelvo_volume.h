// File operations on a printer disk: finding, allocating, storing, reading,
// deleting and renaming files, and the free-space figure.
//
// One logic serves both carriers. The image form works on a CDiskImageDoc
// throughout. The floppy form works on a drive for data and directory
// sectors and keeps the allocation bitmap in the caller's copy of the
// system area, so successive operations of one transfer see each other's
// allocations; every bitmap change is written from that copy to the drive.
//
// Stores, deletes and renames are all-or-nothing: when a step fails, the
// steps already done are undone before the error is returned, so no entry
// is left without its blocks and no blocks stay marked used without an
// entry.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "diskfs/directory_walk.h"
#include "diskfs/on_disk.h"
#include "filetypes/stored_content.h"
#include "media/sector_source.h"

namespace kelvo {

class CDiskImageDoc;

// Returned when the disk's structures overlap (the bitmap on a directory
// sector or the volume block): nothing is written to such a disk.
inline constexpr ErrorCode ERR_DAMAGED_LAYOUT = ERR_UNRECOGNIZED_VOLUME;

// Returned when a new or renamed file's name cannot be stored: its first
// word would be 0 (a free slot) or its type is "$Y$" ("Invalid file name
// specified").
inline constexpr ErrorCode ERR_INVALID_FILE_NAME = 123;

struct FileLocator {
  std::string name;  // the full name found, NAME.TYP as stored
  std::string type;  // the type of the chain holding the entry
  std::uint16_t directory_lbn = 0;
  std::uint16_t slot = 0;
  std::uint16_t start_lbn = 0;        // w10
  std::uint16_t blocks = 0;           // w5
  std::uint16_t first_free_byte = 0;  // w8
  FileEntry entry;                    // all words, for export (w3) and rename
};

struct AllocationRequest {
  std::string type;
  std::uint16_t directory_lbn = 0;  // out
  std::uint16_t slot = 0;           // out
  std::uint32_t blocks_needed = 0;  // in
  std::uint16_t start_lbn = 0;      // out
};

// A new file ready to be written: its stored name, its entry words (w3, w5
// and w7, w8) and its data (words' block count * 512 bytes).
struct NewFile {
  std::string first;   // name characters 1 to 3
  std::string second;  // name characters 4 to 6 (may be empty)
  std::string type;
  EntryWords words;
  std::span<const std::uint8_t> data;
};

// The full name (NAME.TYP, upper case) a file stored under `pc_name` gets, as
// its entry decodes; the name part is empty when the name cannot be stored.
std::string StoredFullName(std::string_view pc_name);

class CKelvoVolume {
 public:
  // Image form.
  explicit CKelvoVolume(CDiskImageDoc& image);
  // Floppy form: `system_area` holds the disk's first blocks, at least LBN 0
  // up to the bitmap LBN. Blocks it holds are read from it and written
  // through it to the drive, so it stays the disk's current state (a copy
  // of the 90 blocks a listing reads spares every directory read).
  CKelvoVolume(CSectorSource& drive, std::vector<std::uint8_t>& system_area);
  ~CKelvoVolume();
  CKelvoVolume(const CKelvoVolume&) = delete;
  CKelvoVolume& operator=(const CKelvoVolume&) = delete;

  // 0 with `out` filled when a file of that full name (NAME.TYP, any case)
  // exists; ERR_FILE_NOT_FOUND when not; or the carrier's read error.
  ErrorCode FindFile(std::string_view name, FileLocator& out);

  // The lowest free slot of the type's chain: 0, ERR_TYPE_NOT_IN_INDEX or
  // ERR_DIRECTORY_FULL.
  ErrorCode FindFreeSlot(AllocationRequest& request);

  // Slot and blocks for a new file (image: blocks first; floppy: slot
  // first). Nothing is written.
  ErrorCode Allocate(AllocationRequest& request);

  // Writes a new file: data, directory entry, bitmap. The name must not
  // encode to a first word of 0 and the type must not be "$Y$"
  // (ERR_INVALID_FILE_NAME). The caller makes sure no file of that name
  // exists.
  ErrorCode StoreNewFile(const NewFile& file);

  // Writes a file of `type` with `entry` as it stands (a file copied from
  // another disk) except its start block, which is newly allocated; `data`
  // holds its w5 blocks. The same checks and rollback as StoreNewFile.
  ErrorCode StoreEntry(std::string_view type, const FileEntry& entry,
                       std::span<const std::uint8_t> data);

  // Stores prepared content (see PrepareStoredContent) under the printer
  // name of `pc_name`: base name upper-cased and cut to six characters, type
  // the last three characters. Both forms use this after choosing how the
  // content is stored. ERR_INVALID_FILE_NAME for a name that cannot be
  // stored (see StoredFullName), 39 for content beyond 65,535 blocks.
  ErrorCode StoreContent(std::string_view pc_name, const StoredContent& content);

  // Image form: stores a PC file whose whole content is `file_bytes` (any
  // retained tape label still at its start). Text is numbered from 10 in
  // steps of 10; the 82-byte probe is zero-filled. A file of the same name
  // is replaced. On any failure the image is left exactly as it was.
  ErrorCode StoreFile(std::string_view pc_name, std::span<const std::uint8_t> file_bytes);

  // Image form: writes printer file `name` to the PC file `pc_path`
  // (replaced atomically): ERR_FILE_NOT_FOUND when there is no such file.
  ErrorCode ExportFile(std::string_view name, const std::filesystem::path& pc_path,
                       const ExportOptions& options);
  // The same for the file of an entry already found (a listed entry whose
  // name cannot be looked up, such as one that reads as empty).
  ErrorCode ExportEntry(const FileLocator& file, const std::filesystem::path& pc_path,
                        const ExportOptions& options);

  // The file's blocks, w5 * 512 bytes read in one request.
  ErrorCode ReadFileBlocks(const FileLocator& file, std::vector<std::uint8_t>& out);

  // Frees the file's blocks and clears its entry. The "$Y$" files (bitmap,
  // bad blocks) are refused with ERR_ACCESS_DENIED.
  ErrorCode DeleteFile(const FileLocator& file);
  // Image form by name: a name that is not found changes nothing and is not
  // an error.
  ErrorCode DeleteFile(std::string_view name);

  // Gives the file a new name (and type), keeping its blocks and sizes:
  // ERR_INVALID_FILE_NAME, ERR_FILE_EXISTS (80) when the new name exists,
  // ERR_FILE_NOT_FOUND, ERR_TYPE_NOT_IN_INDEX, ERR_DIRECTORY_FULL;
  // ERR_ACCESS_DENIED for the "$Y$" files.
  ErrorCode RenameFile(std::string_view old_name, std::string_view new_name);

  // Whether `blocks` new blocks would find room once the file's blocks are
  // freed. An entry whose blocks reach past the disk's last block is damaged
  // and never counts as room. Nothing is changed.
  bool FitsAfterDelete(const FileLocator& file, std::uint32_t blocks);

  // Makes way for a new file stored as `full_name` (NAME.TYP) that needs
  // `blocks` blocks. When a file of that name exists, the fit is decided
  // first, with its blocks counted as free; only when the new file fits is
  // the old one deleted (and returned in `removed`). When it does not fit:
  // 39, and nothing is changed. A name part that reads as empty:
  // ERR_INVALID_FILE_NAME. No such file: 0 with `removed.name` empty.
  ErrorCode RemoveForReplacement(std::string_view full_name, std::uint32_t blocks,
                                 FileLocator& removed);

  // Free space as shown with a listing (never below 0).
  ErrorCode FreeSpace(std::uint64_t& bytes);

  // The entry written by the last successful store.
  const FileEntry& LastStoredEntry() const { return last_stored_; }

  // Damage met by the last operation's directory walks.
  const std::vector<std::string>& Problems() const { return problems_; }

 private:
  ErrorCode Mount(VolumeBlock& volume, WalkLimits& limits);
  std::uint32_t CarrierBlocks() const;
  // Every directory sector the type index reaches. `sound` is false when
  // the bitmap would lie on the volume block, a directory sector, beyond
  // the highest LBN or beyond the blocks a bitmap covers: such a disk is not
  // written to.
  ErrorCode ReadLayout(const VolumeBlock& volume, std::vector<std::uint16_t>& directories,
                       bool& sound);
  // First fit for the request; the blocks of `freed` (when given) count as
  // free.
  ErrorCode FindFreeBlocksFor(const VolumeBlock& volume, AllocationRequest& request,
                              const FileLocator* freed = nullptr);
  ErrorCode WriteEntryAndBitmap(const VolumeBlock& volume, std::uint16_t lbn, std::size_t slot,
                                const FileEntry& entry, bool allocate, std::uint32_t first,
                                std::uint32_t count);
  void NoteProblem(const std::string& problem);

  std::unique_ptr<CSectorSource> through_copy_;  // floppy form
  CSectorSource& carrier_;
  CDiskImageDoc* image_ = nullptr;
  FileEntry last_stored_;
  std::vector<std::string> problems_;
};

}  // namespace kelvo
