#include "diskfs/kelvo_volume.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "diskfs/listing.h"
#include "diskfs/mount.h"
#include "diskfs/radix50.h"
#include "media/disk_image.h"
#include "transfer/error_text.h"

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
class LockGuard {
 public:
  explicit LockGuard(CSectorSource& carrier) : carrier_(carrier) { error_ = carrier_.Lock(); }
  ~LockGuard() {
    if (!error_) carrier_.Unlock();
  }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;
  ErrorCode error() const { return error_; }

 private:
  CSectorSource& carrier_;
  ErrorCode error_;
};

}  // namespace

std::string DiskErrorText(ErrorCode code) {
  return code == ERR_INVALID_FILE_NAME ? kInvalidFileNameText : GetErrorText(code);
}

CKelvoVolume::CKelvoVolume(CDiskImageDoc& image) : carrier_(image), image_(&image) {}

CKelvoVolume::CKelvoVolume(CSectorSource& drive, std::vector<std::uint8_t>& system_area)
    : carrier_(drive), system_area_(&system_area) {}

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

ErrorCode CKelvoVolume::LoadBitmap(const VolumeBlock& volume, Block& bitmap) {
  const std::size_t at = std::size_t{volume.bitmap_lbn} * kBlockSize;
  if (system_area_ && system_area_->size() >= at + kBlockSize) {
    std::memcpy(bitmap.data(), system_area_->data() + at, kBlockSize);
    return ERR_OK;
  }
  return carrier_.ReadSectors(volume.bitmap_lbn, 1, bitmap.data());
}

ErrorCode CKelvoVolume::SaveBitmap(const VolumeBlock& volume, const Block& bitmap) {
  if (ErrorCode err = carrier_.WriteSectors(volume.bitmap_lbn, 1, bitmap.data())) return err;
  const std::size_t at = std::size_t{volume.bitmap_lbn} * kBlockSize;
  if (system_area_ && system_area_->size() >= at + kBlockSize)
    std::memcpy(system_area_->data() + at, bitmap.data(), kBlockSize);
  return ERR_OK;
}

ErrorCode CKelvoVolume::FindFreeBlocksFor(const VolumeBlock& volume, AllocationRequest& request) {
  Block bitmap{};
  if (ErrorCode err = LoadBitmap(volume, bitmap)) return err;
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
  Block directory{};
  if (ErrorCode err = carrier_.ReadSectors(lbn, 1, directory.data())) return err;
  const Block old_directory = directory;
  Block bitmap{};
  if (ErrorCode err = LoadBitmap(volume, bitmap)) return err;
  PutSlot(directory.data(), slot, entry);
  if (ErrorCode err = carrier_.WriteSectors(lbn, 1, directory.data())) return err;
  AllocationBitmap bits(bitmap);
  if (allocate)
    bits.MarkUsed(first, count, volume.highest_lbn);
  else
    bits.MarkFree(first, count, volume.highest_lbn);
  if (ErrorCode err = SaveBitmap(volume, bitmap)) {
    carrier_.WriteSectors(lbn, 1, old_directory.data());  // undo the entry
    return err;
  }
  return ERR_OK;
}

ErrorCode CKelvoVolume::StoreNewFile(const NewFile& file) {
  problems_.clear();
  if (RadixEncode(file.first) == 0 || ToUpper(file.type) == "$Y$") return ERR_INVALID_FILE_NAME;
  if (file.data.size() < std::size_t{file.blocks} * kBlockSize) return ERR_INVALID_FUNCTION;
  VolumeBlock volume;
  if (ErrorCode err = ReadVolumeBlock(carrier_, volume)) return err;
  AllocationRequest request{file.type, 0, 0, file.blocks, 0};
  if (ErrorCode err = Allocate(request)) return err;

  LockGuard lock(carrier_);
  if (lock.error()) return lock.error();
  if (file.blocks > 0) {
    if (ErrorCode err = carrier_.WriteSectors(request.start_lbn, file.blocks, file.data.data()))
      return err;
  }
  FileEntry entry;
  entry.name1 = RadixEncode(file.first);
  entry.name2 = file.second.empty() ? 0 : RadixEncode(file.second);
  entry.record_size = file.record_size;
  entry.blocks = file.blocks;
  entry.blocks_again = file.blocks;
  entry.first_free_byte = file.first_free_byte;
  entry.start_lbn = request.start_lbn;
  if (ErrorCode err = WriteEntryAndBitmap(volume, request.directory_lbn, request.slot, entry,
                                          true, request.start_lbn, file.blocks))
    return err;
  last_stored_ = entry;
  return ERR_OK;
}

ErrorCode CKelvoVolume::ReadFileBlocks(const FileLocator& file, std::vector<std::uint8_t>& out) {
  try {
    out.assign(std::size_t{file.blocks} * kBlockSize, 0);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  if (file.blocks == 0) return ERR_OK;
  return carrier_.ReadSectors(file.start_lbn, file.blocks, out.data());
}

ErrorCode CKelvoVolume::DeleteFile(const FileLocator& file) {
  VolumeBlock volume;
  if (ErrorCode err = ReadVolumeBlock(carrier_, volume)) return err;
  LockGuard lock(carrier_);
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

bool CKelvoVolume::FitsAfterDelete(const FileLocator& file) {
  VolumeBlock volume;
  Block bitmap{};
  if (ReadVolumeBlock(carrier_, volume) || LoadBitmap(volume, bitmap)) return false;
  AllocationBitmap(bitmap).MarkFree(file.start_lbn, file.blocks, volume.highest_lbn);
  std::uint16_t start = 0;
  return FindFreeBlocks(bitmap.data(), file.blocks, start, volume.highest_lbn) == ERR_OK;
}

ErrorCode CKelvoVolume::FreeSpace(std::uint64_t& bytes) {
  DiskListing listing;
  if (ErrorCode err = ListFiles(carrier_, listing, CarrierBlocks())) return err;
  bytes = listing.FreeSpace();
  return ERR_OK;
}

}  // namespace kelvo
