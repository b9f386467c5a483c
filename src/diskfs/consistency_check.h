// The consistency check of a printer disk: what a damaged disk has wrong,
// found by reading it only.
//
// It walks every directory chain and every file entry and compares them
// with one another and with the allocation bitmap. Nothing is written, so
// it is safe on a disk that is about to be rescued.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "diskfs/directory_walk.h"
#include "media/sector_source.h"

namespace kelvo {

enum class FindingKind {
  ChainCycle,          // a directory chain links back into itself
  ChainOutOfRange,     // a chain link at or past the highest LBN or the image
  UnreadableDirectory, // a directory sector could not be read
  SharedDirectory,     // one directory sector in two chains
  DuplicateType,       // a type listed twice in the type index
  BitmapMisplaced,     // the bitmap LBN on a system or directory block, or out of range
  EntryPastHighestLbn, // a file's blocks reach past the highest LBN
  FileOnSystemBlocks,  // a file's blocks lie on the system area or a directory
  OverlappingFiles,    // two files share blocks
  BlocksMarkedFree,    // blocks of a file are marked free in the bitmap
  SystemBlockFree,     // a system or directory block is marked free
  DuplicateName,       // two entries of one full name
  BadLastBlockCount,   // a record file's w8 is not a whole number of records
  SizeWordsDiffer,     // w5 and w7 disagree
  LostBlocks,          // used blocks that belong to nothing (space lost, no damage)
  EmptyName,           // an entry whose name reads as empty (".FNT"): not found by name
};

// Short stable name of a kind ("overlapping-files"), for machine output.
const char* FindingKindName(FindingKind kind);

struct CheckFinding {
  FindingKind kind;
  bool damage = true;  // false for findings that only waste space
  std::string text;    // one sentence for the user
};

struct CheckReport {
  std::uint32_t highest_lbn = 0;
  std::size_t directory_sectors = 0;
  std::size_t files = 0;  // entries checked, the two system files not counted
  std::vector<CheckFinding> findings;

  std::size_t DamageCount() const;
  bool Clean() const { return DamageCount() == 0; }
  bool Has(FindingKind kind) const;
};

// Checks the printer disk on `carrier` (`carrier_blocks` when its extent is
// known). Returns ERR_NOT_KELVO_FORMAT for another disk, the read error of
// the volume block or the bitmap, else 0 with `out` filled. Never writes.
ErrorCode CheckDiskConsistency(CSectorSource& carrier, CheckReport& out,
                               std::uint32_t carrier_blocks = kUnknownExtent);

}  // namespace kelvo
