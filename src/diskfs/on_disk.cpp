#include "diskfs/on_disk.h"

#include <algorithm>
#include <cstring>

#include "core/radix50.h"

namespace kelvo {

std::uint16_t GetWord(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void PutWord(std::uint8_t* p, std::uint16_t value) {
  p[0] = static_cast<std::uint8_t>(value & 0xFF);
  p[1] = static_cast<std::uint8_t>(value >> 8);
}

void EncodeBootBlock(std::uint8_t* block) {
  static constexpr std::uint16_t kWords[14] = {0x00A0, 0x15C6, 0x0204, 0x15C0, 0x001C,
                                                0x8BDF, 0xFF74, 0x80FD, 0x941F, 0xFF76,
                                                0x8BC8, 0x02F9, 0x005F, 0xF600};
  static constexpr char kText[] = " This is not a bootable diskette";
  std::memset(block, 0, kBlockSize);
  for (std::size_t i = 0; i < 14; ++i) PutWord(block + 2 * i, kWords[i]);
  std::memcpy(block + 28, kText, sizeof kText - 1);  // the zero after it is already there
}

TypeIndexEntry TypeIndexEntry::Decode(const std::uint8_t* p) {
  return {GetWord(p), GetWord(p + 2), GetWord(p + 4)};
}

void TypeIndexEntry::Encode(std::uint8_t* p) const {
  PutWord(p, type_code);
  PutWord(p + 2, reserved);
  PutWord(p + 4, directory_lbn);
}

VolumeBlock VolumeBlock::Decode(const std::uint8_t* b) {
  VolumeBlock v;
  v.reserved0 = GetWord(b + 0);
  v.highest_lbn = GetWord(b + 2);
  v.heads = GetWord(b + 4);
  v.sectors_per_track = GetWord(b + 6);
  v.constant8 = GetWord(b + 8);
  v.reserved10 = GetWord(b + 10);
  v.bitmap_lbn = GetWord(b + 12);
  v.reserved14 = GetWord(b + 14);
  v.constant16 = GetWord(b + 16);
  std::memcpy(v.reserved18.data(), b + 18, v.reserved18.size());
  std::memcpy(v.id_marker.data(), b + kDiskIdMarkerOffset, v.id_marker.size());
  std::memcpy(v.disk_id.data(), b + kDiskIdOffset, v.disk_id.size());
  for (std::size_t i = 0; i < kTypeIndexCapacity; ++i)
    v.type_index[i] = TypeIndexEntry::Decode(b + kTypeIndexOffset + i * kTypeIndexEntrySize);
  std::memcpy(v.tail.data(), b + kBlockSize - v.tail.size(), v.tail.size());
  return v;
}

void VolumeBlock::Encode(std::uint8_t* b) const {
  PutWord(b + 0, reserved0);
  PutWord(b + 2, highest_lbn);
  PutWord(b + 4, heads);
  PutWord(b + 6, sectors_per_track);
  PutWord(b + 8, constant8);
  PutWord(b + 10, reserved10);
  PutWord(b + 12, bitmap_lbn);
  PutWord(b + 14, reserved14);
  PutWord(b + 16, constant16);
  std::memcpy(b + 18, reserved18.data(), reserved18.size());
  std::memcpy(b + kDiskIdMarkerOffset, id_marker.data(), id_marker.size());
  std::memcpy(b + kDiskIdOffset, disk_id.data(), disk_id.size());
  for (std::size_t i = 0; i < kTypeIndexCapacity; ++i)
    type_index[i].Encode(b + kTypeIndexOffset + i * kTypeIndexEntrySize);
  std::memcpy(b + kBlockSize - tail.size(), tail.data(), tail.size());
}

std::string VolumeBlock::DiskIdText() const {
  auto end = std::find(disk_id.begin(), disk_id.end(), 0);
  return std::string(disk_id.begin(), end);
}

void VolumeBlock::SetDiskId(std::string_view text) {
  id_marker = {'I', 'D'};
  disk_id.fill(0);
  std::size_t n = std::min(text.size(), kDiskIdMaxLength);
  std::memcpy(disk_id.data(), text.data(), n);
}

std::size_t VolumeBlock::TypeCount() const {
  std::size_t n = 0;
  while (n < type_index.size() && type_index[n].type_code != 0) ++n;
  return n;
}

std::string FileEntry::BaseName() const { return RadixDecode(name1) + RadixDecode(name2); }

FileEntry FileEntry::Decode(const std::uint8_t* p) {
  FileEntry e;
  std::uint16_t* words[11] = {&e.name1, &e.name2, &e.w2,           &e.record_size,
                              &e.w4,    &e.blocks, &e.w6,          &e.blocks_again,
                              &e.first_free_byte, &e.w9, &e.start_lbn};
  for (std::size_t i = 0; i < 11; ++i) *words[i] = GetWord(p + 2 * i);
  return e;
}

void FileEntry::Encode(std::uint8_t* p) const {
  const std::uint16_t words[11] = {name1, name2,        w2,              record_size,
                                   w4,    blocks,       w6,              blocks_again,
                                   first_free_byte, w9, start_lbn};
  for (std::size_t i = 0; i < 11; ++i) PutWord(p + 2 * i, words[i]);
}

FileEntry GetSlot(const std::uint8_t* block, std::size_t slot) {
  return FileEntry::Decode(block + kFirstSlotOffset + slot * kFileEntrySize);
}

void PutSlot(std::uint8_t* block, std::size_t slot, const FileEntry& entry) {
  entry.Encode(block + kFirstSlotOffset + slot * kFileEntrySize);
}

DirectorySector DirectorySector::Decode(const std::uint8_t* b) {
  DirectorySector d;
  d.reserved = GetWord(b);
  d.next_lbn = GetWord(b + 2);
  for (std::size_t i = 0; i < kSlotsPerSector; ++i) d.slots[i] = GetSlot(b, i);
  d.spare = GetWord(b + 510);
  return d;
}

void DirectorySector::Encode(std::uint8_t* b) const {
  PutWord(b, reserved);
  PutWord(b + 2, next_lbn);
  for (std::size_t i = 0; i < kSlotsPerSector; ++i) PutSlot(b, i, slots[i]);
  PutWord(b + 510, spare);
}

bool CAllocationBitmap::IsFree(std::uint32_t block) const {
  if (block >= kBitmapBits) return false;
  return (bits_[block / 8] >> (block % 8)) & 1u;
}

std::uint32_t CAllocationBitmap::Mark(std::uint32_t first, std::uint32_t count,
                                     std::uint32_t highest_lbn, bool free) {
  const std::uint64_t limit = std::min<std::uint64_t>(highest_lbn, kBitmapBits - 1);
  std::uint32_t marked = 0;
  for (std::uint64_t n = first; n < std::uint64_t{first} + count && n <= limit; ++n) {
    std::uint8_t mask = static_cast<std::uint8_t>(1u << (n % 8));
    if (free)
      bits_[n / 8] |= mask;
    else
      bits_[n / 8] &= static_cast<std::uint8_t>(~mask);
    ++marked;
  }
  return marked;
}

std::uint32_t CAllocationBitmap::MarkFree(std::uint32_t first, std::uint32_t count,
                                         std::uint32_t highest_lbn) {
  return Mark(first, count, highest_lbn, true);
}

std::uint32_t CAllocationBitmap::MarkUsed(std::uint32_t first, std::uint32_t count,
                                         std::uint32_t highest_lbn) {
  return Mark(first, count, highest_lbn, false);
}

ErrorCode FindFreeBlocks(const std::uint8_t* bitmap_sector, std::uint32_t count,
                         std::uint16_t& start, std::uint32_t highest_lbn) {
  if (count == 0) {  // a file of no blocks occupies nothing; its start is recorded as 0
    start = 0;
    return ERR_OK;
  }
  const std::uint32_t limit = std::min<std::uint32_t>(highest_lbn, kBitmapBits - 1);
  std::uint32_t run = 0;
  for (std::uint32_t n = 0; n <= limit; ++n) {
    if ((bitmap_sector[n / 8] >> (n % 8)) & 1u) {
      if (++run >= count) {
        start = static_cast<std::uint16_t>(n + 1 - run);
        return ERR_OK;
      }
    } else {
      run = 0;
    }
  }
  return ERR_HANDLE_DISK_FULL;
}

}  // namespace kelvo
