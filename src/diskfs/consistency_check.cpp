#include "diskfs/consistency_check.h"

#include <algorithm>
#include <map>
#include <new>
#include <set>
#include <utility>

#include "diskfs/listing.h"
#include "diskfs/mount.h"
#include "core/radix50.h"
#include "filetypes/file_names.h"

namespace kelvo {
namespace {

constexpr std::uint32_t kFixedSystemBlocks = 5;  // LBN 0 to 4
constexpr int kNoOwner = -1;
constexpr int kSystemOwner = -2;

struct CheckedFile {
  std::string name;  // NAME.TYP
  std::uint16_t directory_lbn = 0;
  std::uint16_t slot = 0;
  FileEntry entry;
};

std::string Range(std::uint32_t first, std::uint32_t count) {
  if (count == 1) return "LBN " + std::to_string(first);
  return "LBN " + std::to_string(first) + " to " + std::to_string(first + count - 1);
}

class CChecker {
 public:
  CChecker(CSectorSource& carrier, std::uint32_t carrier_blocks, CheckReport& out)
      : carrier_(carrier), carrier_blocks_(carrier_blocks), out_(out) {}

  ErrorCode Run() {
    VolumeBlock volume;
    if (ErrorCode err = ReadVolumeBlock(carrier_, volume)) return err;
    Block raw{};
    volume.Encode(raw.data());
    if (!HasKelvoMark(raw.data())) return ERR_NOT_KELVO_FORMAT;
    out_.highest_lbn = volume.highest_lbn;
    // Ownership is tracked for the blocks one bitmap sector describes.
    limit_ = std::min<std::uint32_t>(volume.highest_lbn, kBitmapBits - 1);
    owner_.assign(std::size_t{limit_} + 1, kNoOwner);
    for (std::uint32_t b = 0; b < kFixedSystemBlocks && b <= limit_; ++b) owner_[b] = kSystemOwner;

    WalkDirectories(volume);
    const bool bitmap_usable = CheckBitmapPlace(volume);
    if (bitmap_usable && volume.bitmap_lbn <= limit_) owner_[volume.bitmap_lbn] = kSystemOwner;
    for (std::size_t i = 0; i < files_.size(); ++i) CheckFile(i);
    ReportOverlaps();
    ReportDuplicateNames();
    if (bitmap_usable) {
      Block bitmap{};
      if (ErrorCode err = carrier_.ReadSectors(volume.bitmap_lbn, 1, bitmap.data())) return err;
      CompareWithBitmap(bitmap);
    }
    out_.files = files_.size();
    return ERR_OK;
  }

 private:
  void Add(FindingKind kind, std::string text, bool damage = true) {
    out_.findings.push_back(CheckFinding{kind, damage, std::move(text)});
  }

  void WalkDirectories(const VolumeBlock& volume) {
    const WalkLimits limits{volume.highest_lbn, carrier_blocks_};
    std::map<std::uint16_t, std::string> sector_type;
    std::set<std::string> types_seen;
    for (std::size_t t = 0; t < volume.TypeCount(); ++t) {
      const std::string type = RadixDecode(volume.type_index[t].type_code);
      const std::uint16_t first = volume.type_index[t].directory_lbn;
      if (!types_seen.insert(type).second) {
        Add(FindingKind::DuplicateType,
            "the type index lists " + type + " more than once (entry " + std::to_string(t + 1) + ")");
        continue;
      }
      if (first <= kVolumeBlockLbn || first >= volume.highest_lbn) {
        Add(FindingKind::ChainOutOfRange, "the " + type + " directory starts at LBN " +
                                              std::to_string(first) + ", outside LBN 2 to " +
                                              std::to_string(volume.highest_lbn));
        continue;
      }
      auto visit = [&](std::uint16_t lbn, Block& block) {
        ++out_.directory_sectors;
        auto [it, fresh] = sector_type.emplace(lbn, type);
        if (!fresh) {
          Add(FindingKind::SharedDirectory, "directory sector LBN " + std::to_string(lbn) +
                                                " belongs to both the " + it->second + " and the " +
                                                type + " chains");
          return false;  // its entries were taken already
        }
        if (lbn <= limit_) owner_[lbn] = kSystemOwner;
        CollectEntries(type, lbn, block);
        return true;
      };
      std::string problem;
      ChainEnd end = ChainEnd::Complete;
      ErrorCode err = WalkChain(carrier_, limits, type, first, visit, problem, nullptr, &end);
      if (err) {
        Add(FindingKind::UnreadableDirectory,
            "a sector of the " + type + " directory could not be read (error " +
                std::to_string(err) + "); the rest of that chain was not checked");
      } else if (end == ChainEnd::Cycle) {
        Add(FindingKind::ChainCycle, problem);
      } else if (end == ChainEnd::PastHighestLbn || end == ChainEnd::PastCarrier) {
        Add(FindingKind::ChainOutOfRange, problem);
      }
    }
  }

  void CollectEntries(const std::string& type, std::uint16_t lbn, const Block& block) {
    for (std::size_t slot = 0; slot < kSlotsPerSector; ++slot) {
      FileEntry entry = GetSlot(block.data(), slot);
      if (entry.IsFree()) continue;
      std::string name = entry.BaseName() + "." + type;
      if (type == "$Y$" && IsSystemFileName(name)) continue;
      files_.push_back(CheckedFile{std::move(name), lbn, static_cast<std::uint16_t>(slot), entry});
    }
  }

  bool CheckBitmapPlace(const VolumeBlock& volume) {
    const std::uint16_t at = volume.bitmap_lbn;
    std::string why;
    if (at <= kVolumeBlockLbn)
      why = "lies on the boot or volume block";
    else if (at > volume.highest_lbn)
      why = "lies past the highest LBN " + std::to_string(volume.highest_lbn);
    else if (at <= limit_ && owner_[at] == kSystemOwner && at >= kFixedSystemBlocks)
      why = "lies on a directory sector";
    if (why.empty()) return true;
    Add(FindingKind::BitmapMisplaced, "the allocation bitmap at LBN " + std::to_string(at) + " " +
                                          why + "; the bitmap was not compared");
    return false;
  }

  void CheckFile(std::size_t index) {
    const CheckedFile& f = files_[index];
    const FileEntry& e = f.entry;
    if (f.name.front() == '.') {
      Add(FindingKind::EmptyName, "the entry at LBN " + std::to_string(f.directory_lbn) +
                                      " slot " + std::to_string(f.slot) +
                                      " has a name that reads as empty (listed as " +
                                      DisplayName(f.name) + "); it cannot be found by its name");
    }
    if (e.blocks_again != e.blocks) {
      Add(FindingKind::SizeWordsDiffer, f.name + " gives its size as " + std::to_string(e.blocks) +
                                            " and as " + std::to_string(e.blocks_again) + " blocks");
    }
    if (e.record_size == 80 && (e.first_free_byte % 80 != 0 || e.first_free_byte > 480)) {
      Add(FindingKind::BadLastBlockCount,
          f.name + " is a record file whose last block is said to hold " +
              std::to_string(e.first_free_byte) +
              " bytes, not a whole number of 80-byte records up to 480");
    }
    if (e.blocks == 0) return;
    const std::uint32_t first = e.start_lbn;
    const std::uint32_t last = first + e.blocks - 1;
    if (last > out_.highest_lbn) {
      Add(FindingKind::EntryPastHighestLbn, f.name + " occupies " + Range(first, e.blocks) +
                                                ", past the highest LBN " +
                                                std::to_string(out_.highest_lbn));
    }
    std::uint32_t on_system = 0;
    for (std::uint32_t b = first; b <= std::min(last, limit_); ++b) {
      int& owner = owner_[b];
      if (owner == kSystemOwner) {
        ++on_system;
      } else if (owner == kNoOwner) {
        owner = static_cast<int>(index);
      } else {
        auto& shared = overlaps_[{owner, static_cast<int>(index)}];
        if (shared.second == 0) shared.first = b;
        ++shared.second;
      }
    }
    if (on_system > 0) {
      Add(FindingKind::FileOnSystemBlocks,
          f.name + " has " + std::to_string(on_system) +
              " of its blocks on the system area or a directory sector");
    }
  }

  void ReportOverlaps() {
    for (const auto& [pair, shared] : overlaps_) {
      Add(FindingKind::OverlappingFiles,
          files_[pair.first].name + " and " + files_[pair.second].name + " share " +
              std::to_string(shared.second) + " block(s) from LBN " + std::to_string(shared.first));
    }
  }

  void ReportDuplicateNames() {
    std::map<std::string, std::vector<const CheckedFile*>> by_name;
    for (const CheckedFile& f : files_) by_name[f.name].push_back(&f);
    for (const auto& [name, entries] : by_name) {
      if (entries.size() < 2) continue;
      std::string where;
      for (const CheckedFile* f : entries) {
        if (!where.empty()) where += ", ";
        where += "LBN " + std::to_string(f->directory_lbn) + " slot " + std::to_string(f->slot);
      }
      Add(FindingKind::DuplicateName,
          name + " has " + std::to_string(entries.size()) + " entries (" + where + ")");
    }
  }

  void CompareWithBitmap(Block& sector) {
    CAllocationBitmap bits(sector);
    std::vector<std::uint32_t> free_of_file(files_.size(), 0);
    std::vector<std::uint32_t> first_free(files_.size(), 0);
    std::uint32_t system_free = 0;
    std::uint32_t lost = 0;
    for (std::uint32_t b = 0; b <= limit_; ++b) {
      const bool is_free = bits.IsFree(b);
      const int owner = owner_[b];
      if (owner == kSystemOwner) {
        if (is_free) ++system_free;
      } else if (owner == kNoOwner) {
        if (!is_free) ++lost;
      } else if (is_free) {
        if (free_of_file[owner]++ == 0) first_free[owner] = b;
      }
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
      if (free_of_file[i] == 0) continue;
      Add(FindingKind::BlocksMarkedFree,
          files_[i].name + " has " + std::to_string(free_of_file[i]) +
              " block(s) marked free in the bitmap, the first at LBN " +
              std::to_string(first_free[i]));
    }
    if (system_free > 0) {
      Add(FindingKind::SystemBlockFree,
          std::to_string(system_free) +
              " block(s) of the system area or the directories are marked free in the bitmap");
    }
    if (lost > 0) {
      Add(FindingKind::LostBlocks,
          std::to_string(lost) + " block(s) are marked used but belong to no file", false);
    }
  }

  CSectorSource& carrier_;
  std::uint32_t carrier_blocks_;
  CheckReport& out_;
  std::uint32_t limit_ = 0;
  std::vector<int> owner_;  // per block: a file index, kNoOwner or kSystemOwner
  std::vector<CheckedFile> files_;
  // (earlier file, later file) -> (first shared block, shared blocks)
  std::map<std::pair<int, int>, std::pair<std::uint32_t, std::uint32_t>> overlaps_;
};

}  // namespace

const char* FindingKindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::ChainCycle: return "chain-cycle";
    case FindingKind::ChainOutOfRange: return "chain-out-of-range";
    case FindingKind::UnreadableDirectory: return "unreadable-directory";
    case FindingKind::SharedDirectory: return "shared-directory";
    case FindingKind::DuplicateType: return "duplicate-type";
    case FindingKind::BitmapMisplaced: return "bitmap-misplaced";
    case FindingKind::EntryPastHighestLbn: return "entry-past-highest-lbn";
    case FindingKind::FileOnSystemBlocks: return "file-on-system-blocks";
    case FindingKind::OverlappingFiles: return "overlapping-files";
    case FindingKind::BlocksMarkedFree: return "blocks-marked-free";
    case FindingKind::SystemBlockFree: return "system-block-free";
    case FindingKind::DuplicateName: return "duplicate-name";
    case FindingKind::BadLastBlockCount: return "bad-last-block-count";
    case FindingKind::SizeWordsDiffer: return "size-words-differ";
    case FindingKind::LostBlocks: return "lost-blocks";
    case FindingKind::EmptyName: return "empty-name";
  }
  return "unknown";
}

std::size_t CheckReport::DamageCount() const {
  return static_cast<std::size_t>(std::count_if(
      findings.begin(), findings.end(), [](const CheckFinding& f) { return f.damage; }));
}

bool CheckReport::Has(FindingKind kind) const {
  return std::any_of(findings.begin(), findings.end(),
                     [kind](const CheckFinding& f) { return f.kind == kind; });
}

ErrorCode CheckDiskConsistency(CSectorSource& carrier, CheckReport& out,
                               std::uint32_t carrier_blocks) {
  out = CheckReport{};
  try {
    return CChecker(carrier, carrier_blocks, out).Run();
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

}  // namespace kelvo
