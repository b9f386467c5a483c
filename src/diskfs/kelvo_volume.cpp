#include "diskfs/kelvo_volume.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "diskfs/listing.h"
#include "diskfs/mount.h"
#include "core/radix50.h"
#include "diskfs/disk_image_doc.h"
#include "core/error_text.h"

namespace kelvo {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::string ToUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Upper(c);
  return out;
}

// The type part of a full name: its last three characters.
std::string TypeOf(std::string_view name) {
  return ToUpper(name.size() >= 3 ? name.substr(name.size() - 3) : name);
}

std::string FullName(const FileEntry& entry, std::string_view type) {
  std::string name = entry.BaseName();
  name += '.';
  name += type;
  return name;
}

// Releases the carrier's lock on every path.
class CLockGuard {
 public:
  explicit CLockGuard(CSectorSource& carrier) : carrier_(carrier) { error_ = carrier_.Lock(); }
  ~CLockGuard() {
    if (!error_) carrier_.Unlock();
  }
  CLockGuard(const CLockGuard&) = delete;
  CLockGuard& operator=(const CLockGuard&) = delete;
  ErrorCode error() const { return error_; }

 private:
  CSectorSource& carrier_;
  ErrorCode error_;
};

// The floppy form's view of the drive: blocks held in the system-area copy
// are read from it; writes go to the drive and then into the copy.
class CThroughCopy final : public CSectorSource {
 public:
  CThroughCopy(CSectorSource& drive, std::vector<std::uint8_t>& copy) : drive_(drive), copy_(copy) {}

  ErrorCode ReadSectors(std::uint32_t lbn, std::uint32_t count, std::uint8_t* buffer) override {
    if (Holds(lbn, count)) {
      std::memcpy(buffer, copy_.data() + std::size_t{lbn} * kBlockSize, std::size_t{count} * kBlockSize);
      return ERR_OK;
    }
    return drive_.ReadSectors(lbn, count, buffer);
  }
  ErrorCode WriteSectors(std::uint32_t lbn, std::uint32_t count,
                         const std::uint8_t* buffer) override {
    if (ErrorCode err = drive_.WriteSectors(lbn, count, buffer)) return err;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (Holds(lbn + i, 1))
        std::memcpy(copy_.data() + std::size_t{lbn + i} * kBlockSize, buffer + std::size_t{i} * kBlockSize,
                    kBlockSize);
    }
    return ERR_OK;
  }
  ErrorCode Lock() override { return drive_.Lock(); }
  ErrorCode Unlock() override { return drive_.Unlock(); }

 private:
  bool Holds(std::uint32_t lbn, std::uint32_t count) const {
    return (std::uint64_t{lbn} + count) * kBlockSize <= copy_.size();
  }
  CSectorSource& drive_;
  std::vector<std::uint8_t>& copy_;
};

}  // namespace

CKelvoVolume::CKelvoVolume(CDiskImageDoc& image) : carrier_(image), image_(&image) {}

CKelvoVolume::CKelvoVolume(CSectorSource& drive, std::vector<std::uint8_t>& system_area)
    : through_copy_(std::make_unique<CThroughCopy>(drive, system_area)), carrier_(*through_copy_) {}

CKelvoVolume::~CKelvoVolume() = default;

std::uint32_t CKelvoVolume::CarrierBlocks() const {
  return image_ ? image_->BlockCount() : kUnknownExtent;
}

void CKelvoVolume::NoteProblem(const std::string& problem) {
  if (!problem.empty() &&
      std::find(problems_.begin(), problems_.end(), problem) == problems_.end())
    problems_.push_back(problem);
}

ErrorCode CKelvoVolume::Mount(VolumeBlock& volume, WalkLimits& limits) {
  problems_.clear();
  if (ErrorCode err = ReadVolumeBlock(carrier_, volume)) return err;
  limits = WalkLimits{volume.highest_lbn, CarrierBlocks()};
  return ERR_OK;
}

ErrorCode CKelvoVolume::FindFile(std::string_view name, FileLocator& out) {
  VolumeBlock volume;
  WalkLimits limits;
  if (ErrorCode err = Mount(volume, limits)) return err;
  const std::string wanted = ToUpper(name);
  const std::string wanted_type = TypeOf(name);
  bool found = false;
  std::string problem;
  for (std::size_t t = 0; t < volume.TypeCount() && !found; ++t) {
    const std::string type = RadixDecode(volume.type_index[t].type_code);
    if (type != wanted_type) continue;
    auto visit = [&](std::uint16_t lbn, Block& block) {
      for (std::size_t slot = 0; slot < kSlotsPerSector; ++slot) {
        FileEntry entry = GetSlot(block.data(), slot);
        if (entry.IsFree()) continue;
        std::string full = FullName(entry, type);
        if (full != wanted) continue;
        out = FileLocator{full, type, lbn, static_cast<std::uint16_t>(slot), entry.start_lbn,
                          entry.blocks, entry.first_free_byte, entry};
        found = true;
        return false;
      }
      return true;
    };
    if (ErrorCode err = WalkChain(carrier_, limits, type, volume.type_index[t].directory_lbn,
                                  visit, problem))
      return err;
    NoteProblem(problem);
  }
  return found ? ERR_OK : ERR_FILE_NOT_FOUND;
}

ErrorCode CKelvoVolume::FindFreeSlot(AllocationRequest& request) {
  VolumeBlock volume;
  WalkLimits limits;
  if (ErrorCode err = Mount(volume, limits)) return err;
  const std::string wanted = ToUpper(request.type);
  for (std::size_t t = 0; t < volume.TypeCount(); ++t) {
    const std::string type = RadixDecode(volume.type_index[t].type_code);
    if (type != wanted) continue;
    bool found = false;
    auto visit = [&](std::uint16_t lbn, Block& block) {
      for (std::size_t slot = 0; slot < kSlotsPerSector; ++slot) {
        if (GetWord(block.data() + kFirstSlotOffset + slot * kFileEntrySize) != 0) continue;
        request.directory_lbn = lbn;
        request.slot = static_cast<std::uint16_t>(slot);
        found = true;
        return false;
      }
      return true;
    };
    std::string problem;
    if (ErrorCode err = WalkChain(carrier_, limits, type, volume.type_index[t].directory_lbn,
                                  visit, problem))
      return err;
    NoteProblem(problem);
    return found ? ERR_OK : ERR_DIRECTORY_FULL;  // only the type's first index entry counts
  }
  return ERR_TYPE_NOT_IN_INDEX;
}

ErrorCode CKelvoVolume::ReadLayout(const VolumeBlock& volume,
                                   std::vector<std::uint16_t>& directories, bool& sound) {
  directories.clear();
  const WalkLimits limits{volume.highest_lbn, CarrierBlocks()};
  std::string problem;
  for (std::size_t t = 0; t < volume.TypeCount(); ++t) {
    auto visit = [&](std::uint16_t lbn, Block&) {
      directories.push_back(lbn);
      return true;
    };
    const std::string type = RadixDecode(volume.type_index[t].type_code);
    if (ErrorCode err = WalkChain(carrier_, limits, type, volume.type_index[t].directory_lbn,
                                  visit, problem))
      return err;
    NoteProblem(problem);
  }
  // The bitmap must lie among the blocks it covers: with a damaged highest
  // LBN, a bitmap far out would otherwise grow an image by megabytes.
  sound = volume.bitmap_lbn != kVolumeBlockLbn && volume.bitmap_lbn <= volume.highest_lbn &&
          volume.bitmap_lbn < kBitmapBits &&
          std::find(directories.begin(), directories.end(), volume.bitmap_lbn) ==
              directories.end();
  return ERR_OK;
}

ErrorCode CKelvoVolume::FindFreeBlocksFor(const VolumeBlock& volume, AllocationRequest& request,
                                          const FileLocator* freed) {
  std::vector<std::uint16_t> directories;
  bool sound = false;
  if (ErrorCode err = ReadLayout(volume, directories, sound)) return err;
  if (!sound) return ERR_DAMAGED_LAYOUT;
  Block bitmap{};
  if (ErrorCode err = carrier_.ReadSectors(volume.bitmap_lbn, 1, bitmap.data())) return err;
  // Data never goes onto the system blocks or a directory sector, whatever
  // a damaged bitmap says: they are searched as used.
  CAllocationBitmap search(bitmap);
  if (freed) search.MarkFree(freed->start_lbn, freed->blocks, volume.highest_lbn);
  search.MarkUsed(0, 5, volume.highest_lbn);
  search.MarkUsed(volume.bitmap_lbn, 1, volume.highest_lbn);
  for (std::uint16_t lbn : directories) search.MarkUsed(lbn, 1, volume.highest_lbn);
  return FindFreeBlocks(bitmap.data(), request.blocks_needed, request.start_lbn,
                        volume.highest_lbn);
}

ErrorCode CKelvoVolume::Allocate(AllocationRequest& request) {
  VolumeBlock volume;
  if (ErrorCode err = ReadVolumeBlock(carrier_, volume)) return err;
  if (image_) {
    if (ErrorCode err = FindFreeBlocksFor(volume, request)) return err;
    return FindFreeSlot(request);
  }
  if (ErrorCode err = FindFreeSlot(request)) return err;
  return FindFreeBlocksFor(volume, request);
}

ErrorCode CKelvoVolume::WriteEntryAndBitmap(const VolumeBlock& volume, std::uint16_t lbn,
                                            std::size_t slot, const FileEntry& entry,
                                            bool allocate, std::uint32_t first,
                                            std::uint32_t count) {
  // An entry never goes into the volume block or the bitmap, and a bitmap
  // lying on a directory sector is never written.
  std::vector<std::uint16_t> directories;
  bool sound = false;
  if (ErrorCode err = ReadLayout(volume, directories, sound)) return err;
  if (!sound || lbn == kVolumeBlockLbn || lbn == volume.bitmap_lbn) return ERR_DAMAGED_LAYOUT;
  Block directory{};
  if (ErrorCode err = carrier_.ReadSectors(lbn, 1, directory.data())) return err;
  const Block old_directory = directory;
  Block bitmap{};
  if (ErrorCode err = carrier_.ReadSectors(volume.bitmap_lbn, 1, bitmap.data())) return err;
  const Block old_bitmap = bitmap;
  CAllocationBitmap bits(bitmap);
  PutSlot(directory.data(), slot, entry);
  if (allocate) {
    // Blocks are marked used before the entry that owns them is written, so
    // a device error in between leaves used blocks without an entry, never
    // an entry whose blocks could be given to another file.
    bits.MarkUsed(first, count, volume.highest_lbn);
    if (ErrorCode err = carrier_.WriteSectors(volume.bitmap_lbn, 1, bitmap.data())) return err;
    if (ErrorCode err = carrier_.WriteSectors(lbn, 1, directory.data())) {
      carrier_.WriteSectors(volume.bitmap_lbn, 1, old_bitmap.data());  // release, if possible
      return err;
    }
    return ERR_OK;
  }
  // Freeing: the entry goes first, for the same reason.
  if (ErrorCode err = carrier_.WriteSectors(lbn, 1, directory.data())) return err;
  bits.MarkFree(first, count, volume.highest_lbn);
  if (ErrorCode err = carrier_.WriteSectors(volume.bitmap_lbn, 1, bitmap.data())) {
    carrier_.WriteSectors(lbn, 1, old_directory.data());  // undo the entry
    return err;
  }
  return ERR_OK;
}

ErrorCode CKelvoVolume::StoreNewFile(const NewFile& file) {
  problems_.clear();
  if (RadixEncode(file.first) == 0 || ToUpper(file.type) == "$Y$") return ERR_INVALID_FILE_NAME;
  // w5 and w7 are 16-bit: a longer file does not fit any disk.
  if (file.words.block_count > 0xFFFF) return ERR_HANDLE_DISK_FULL;
  FileEntry entry;
  entry.name1 = RadixEncode(file.first);
  entry.name2 = file.second.empty() ? 0 : RadixEncode(file.second);
  entry.record_size = static_cast<std::uint16_t>(file.words.record_size);
  entry.blocks = static_cast<std::uint16_t>(file.words.block_count);
  entry.blocks_again = entry.blocks;
  entry.first_free_byte = static_cast<std::uint16_t>(file.words.last_block_bytes);
  return StoreEntry(file.type, entry, file.data);
}

ErrorCode CKelvoVolume::StoreEntry(std::string_view type, const FileEntry& source_entry,
                                   std::span<const std::uint8_t> data) {
  problems_.clear();
  if (source_entry.name1 == 0 || ToUpper(type) == "$Y$") return ERR_INVALID_FILE_NAME;
  if (data.size() < std::size_t{source_entry.blocks} * kBlockSize) return ERR_INVALID_FUNCTION;
  VolumeBlock volume;
  if (ErrorCode err = ReadVolumeBlock(carrier_, volume)) return err;
  AllocationRequest request{std::string(type), 0, 0, source_entry.blocks, 0};
  if (ErrorCode err = Allocate(request)) return err;

  CLockGuard lock(carrier_);
  if (lock.error()) return lock.error();
  if (source_entry.blocks > 0) {
    if (ErrorCode err =
            carrier_.WriteSectors(request.start_lbn, source_entry.blocks, data.data()))
      return err;
  }
  FileEntry entry = source_entry;
  entry.start_lbn = request.start_lbn;
  if (ErrorCode err = WriteEntryAndBitmap(volume, request.directory_lbn, request.slot, entry,
                                          true, request.start_lbn, source_entry.blocks))
    return err;
  last_stored_ = entry;
  return ERR_OK;
}

ErrorCode CKelvoVolume::ReadFileBlocks(const FileLocator& file, std::vector<std::uint8_t>& out) {
  // An entry whose blocks reach past the disk's last block (or past what the
  // bitmap can cover) is damaged: a drive could not read it, and an image
  // must not turn it into megabytes of zeros.
  VolumeBlock volume;
  if (ErrorCode err = ReadVolumeBlock(carrier_, volume)) return err;
  const std::uint32_t last = std::min<std::uint32_t>(volume.highest_lbn, kBitmapBits - 1);
  if (file.blocks > 0 && std::uint32_t{file.start_lbn} + file.blocks - 1 > last)
    return ERR_SECTOR_NOT_FOUND;
  try {
    out.assign(std::size_t{file.blocks} * kBlockSize, 0);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  if (file.blocks == 0) return ERR_OK;
  return carrier_.ReadSectors(file.start_lbn, file.blocks, out.data());
}

ErrorCode CKelvoVolume::DeleteFile(const FileLocator& file) {
  // The bad-block and bitmap files are part of the file system itself.
  if (file.type == "$Y$") return ERR_ACCESS_DENIED;
  VolumeBlock volume;
  if (ErrorCode err = ReadVolumeBlock(carrier_, volume)) return err;
  CLockGuard lock(carrier_);
  if (lock.error()) return lock.error();
  return WriteEntryAndBitmap(volume, file.directory_lbn, file.slot, FileEntry{}, false,
                             file.start_lbn, file.blocks);
}

ErrorCode CKelvoVolume::DeleteFile(std::string_view name) {
  FileLocator file;
  ErrorCode err = FindFile(name, file);
  if (err == ERR_FILE_NOT_FOUND) return ERR_OK;
  if (err) return err;
  return DeleteFile(file);
}

bool CKelvoVolume::FitsAfterDelete(const FileLocator& file, std::uint32_t blocks) {
  VolumeBlock volume;
  if (ReadVolumeBlock(carrier_, volume)) return false;
  // Freeing a damaged entry's blocks would free other files' blocks.
  const std::uint32_t last = std::min<std::uint32_t>(volume.highest_lbn, kBitmapBits - 1);
  if (file.blocks > 0 && std::uint32_t{file.start_lbn} + file.blocks - 1 > last) return false;
  AllocationRequest request{file.type, 0, 0, blocks, 0};
  return FindFreeBlocksFor(volume, request, &file) == ERR_OK;
}

ErrorCode CKelvoVolume::RemoveForReplacement(std::string_view full_name, std::uint32_t blocks,
                                             FileLocator& removed) {
  removed = FileLocator{};
  // ".TYP" would find an entry whose name reads as empty, which the new
  // file could never replace under its name.
  if (full_name.empty() || full_name.front() == '.') return ERR_INVALID_FILE_NAME;
  FileLocator old;
  ErrorCode err = FindFile(full_name, old);
  if (err == ERR_FILE_NOT_FOUND) return ERR_OK;
  if (err) return err;
  if (blocks > 0xFFFF || !FitsAfterDelete(old, blocks)) return ERR_HANDLE_DISK_FULL;
  if ((err = DeleteFile(old))) return err;
  removed = old;
  return ERR_OK;
}

ErrorCode CKelvoVolume::FreeSpace(std::uint64_t& bytes) {
  DiskListing listing;
  if (ErrorCode err = ListFiles(carrier_, listing, CarrierBlocks())) return err;
  bytes = listing.FreeSpace();
  return ERR_OK;
}

}  // namespace kelvo
