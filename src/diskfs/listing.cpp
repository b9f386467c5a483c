#include "diskfs/listing.h"

#include "diskfs/mount.h"
#include "diskfs/radix50.h"

namespace kelvo {
namespace {

constexpr std::uint64_t kFixedSystemBytes = 5 * kBlockSize;  // LBN 0 to 4

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

bool IsSystemFileName(std::string_view full_name) {
  return EqualsNoCase(full_name, "BADBLK.$Y$") || EqualsNoCase(full_name, "BITMAP.$Y$");
}

std::uint64_t DiskListing::FreeSpace() const {
  const std::uint64_t used = system_bytes + file_bytes;
  return capacity > used ? capacity - used : 0;
}

ErrorCode ListFiles(CSectorSource& carrier, DiskListing& out, std::uint32_t carrier_blocks) {
  out = DiskListing{};
  VolumeBlock volume;
  if (ErrorCode err = ReadVolumeBlock(carrier, volume)) return err;
  out.shows_disk_id = volume.ShowsDiskId();
  if (out.shows_disk_id) out.disk_id = volume.DiskIdText();
  out.highest_lbn = volume.highest_lbn;
  out.capacity = std::uint64_t{volume.highest_lbn} * kBlockSize;
  out.system_bytes = kFixedSystemBytes;

  const WalkLimits limits{volume.highest_lbn, carrier_blocks};
  const std::size_t types = volume.TypeCount();
  out.files.reserve(types * kSlotsPerSector);
  std::string problem;
  for (std::size_t t = 0; t < types; ++t) {
    const std::string type = RadixDecode(volume.type_index[t].type_code);
    auto visit = [&](std::uint16_t lbn, Block& block) {
      out.system_bytes += kBlockSize;
      for (std::size_t slot = 0; slot < kSlotsPerSector; ++slot) {
        const std::uint8_t* raw = block.data() + kFirstSlotOffset + slot * kFileEntrySize;
        if (GetWord(raw) == 0) continue;
        FileEntry entry = FileEntry::Decode(raw);
        std::string name = entry.BaseName();
        name += '.';
        name += type;
        if (IsSystemFileName(name)) continue;
        ListedFile& f = out.files.emplace_back();
        f.name = std::move(name);
        f.type = type;
        f.entry = entry;
        f.directory_lbn = lbn;
        f.slot = static_cast<std::uint16_t>(slot);
        f.size = entry.blocks > entry.w4 ? (std::uint32_t{entry.blocks} - entry.w4) * kBlockSize : 0;
        out.file_bytes += f.size;
      }
      return true;
    };
    if (ErrorCode err = WalkChain(carrier, limits, type, volume.type_index[t].directory_lbn,
                                  visit, problem))
      return err;
    if (!problem.empty()) out.problems.push_back(problem);
  }
  return ERR_OK;
}

}  // namespace kelvo
