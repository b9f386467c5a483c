#include "diskfs/listing.h"

#include "diskfs/mount.h"
#include "core/radix50.h"
#include "filetypes/file_types.h"

namespace kelvo {
namespace {

constexpr std::uint64_t kFixedSystemBytes = 5 * kBlockSize;  // LBN 0 to 4

}  // namespace

bool IsSystemFileName(std::string_view full_name) {
  return EqualsNoCase(full_name, "BADBLK.$Y$") || EqualsNoCase(full_name, "BITMAP.$Y$");
}

std::uint64_t DiskListing::FreeSpace() const {
  const std::uint64_t used = system_bytes + file_bytes;
  return capacity > used ? capacity - used : 0;
}

ErrorCode ListFiles(CSectorSource& carrier, DiskListing& out, std::uint32_t carrier_blocks) {
  // The file vector keeps its capacity, so a listing read again into the
  // same object does not allocate it anew.
  std::vector<ListedFile> files = std::move(out.files);
  files.clear();
  out = DiskListing{};
  out.files = std::move(files);
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
    const bool is_system_type = type == "$Y$";
    auto visit = [&](std::uint16_t lbn, Block& block) {
      out.system_bytes += kBlockSize;
      for (std::size_t slot = 0; slot < kSlotsPerSector; ++slot) {
        const std::uint8_t* raw = block.data() + kFirstSlotOffset + slot * kFileEntrySize;
        if (GetWord(raw) == 0) continue;
        FileEntry entry = FileEntry::Decode(raw);
        char text[16];
        std::size_t n = RadixDecodeTo(entry.name1, text);
        n += RadixDecodeTo(entry.name2, text + n);
        text[n++] = '.';
        for (char c : type) text[n++] = c;
        const std::string_view name(text, n);
        if (is_system_type && IsSystemFileName(name)) continue;
        const std::uint32_t size =
            entry.blocks > entry.w4 ? (std::uint32_t{entry.blocks} - entry.w4) * kBlockSize : 0;
        out.files.push_back(ListedFile{std::string(name), type, entry, lbn,
                                       static_cast<std::uint16_t>(slot), size});
        out.file_bytes += size;
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
