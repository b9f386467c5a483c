#include "tape/qva_format.h"

#include <cstring>

#include "core/radix50.h"
#include "filetypes/file_names.h"
#include "filetypes/file_types.h"

namespace kelvo {

std::uint16_t QvaWord(const std::uint8_t* bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

bool IsQvaVolumeHeader(const std::uint8_t* block, std::size_t length) {
  static constexpr std::uint8_t kMark[4] = {0x77, 0x00, 0x08, 0x02};
  return length >= sizeof kMark && std::memcmp(block, kMark, sizeof kMark) == 0;
}

bool IsQvaMasterFileDirectory(const std::uint8_t* block, std::size_t length) {
  return length == kQvaSectorSize && QvaWord(block, kQvaTypeIndexOffset) == kQvaSystemTypeWord;
}

std::string QvaSystemId(const std::uint8_t* mfd) {
  const char* text = reinterpret_cast<const char*>(mfd + kQvaSystemIdOffset);
  return std::string(text, strnlen(text, kQvaSystemIdLength));
}

std::string QvaIndexType(const std::uint8_t* mfd, std::size_t position) {
  const std::size_t offset = kQvaTypeIndexOffset + position * kQvaTypeIndexEntrySize;
  if (offset + kQvaTypeIndexEntrySize > kQvaSectorSize) return {};
  const std::uint16_t word = QvaWord(mfd, offset);
  return word == 0 ? std::string() : RadixDecode(word);
}

QvaControlKind ClassifyQvaControlRecord(const std::uint8_t* record) {
  if (QvaWord(record, 0) == kQvaDiskUnitMarkWord && QvaWord(record, 2) == kQvaDiskUnitMarkWord) {
    return QvaControlKind::DiskUnitMarker;
  }
  static const std::uint16_t kQvaWord = RadixEncode("QVA");
  if (QvaWord(record, 2) == kQvaWord) return QvaControlKind::EndOfVolume;
  return QvaControlKind::Other;
}

std::string QvaDiskUnitText(const std::uint8_t* record) {
  return "DP" + std::to_string(static_cast<int>(QvaWord(record, 8)) - 1) + ":";
}

bool ReadQvaDirectorySector(const std::uint8_t* sector, const std::string& type,
                            std::vector<QvaFileEntry>& table) {
  for (std::size_t slot = 0; slot < kQvaEntriesPerSector; ++slot) {
    const std::uint8_t* e = sector + 4 + slot * kQvaEntrySize;
    auto w = [e](int i) { return QvaWord(e, static_cast<std::size_t>(i) * 2); };
    if (w(0) == 0) continue;
    QvaFileEntry entry;
    entry.name = PrinterNameToPcName(RadixDecode(w(0)), RadixDecode(w(1)), type);
    // Two block counts, high word first; the selector w2 chooses.
    const std::uint32_t blocks = w(2) != 0 ? (std::uint32_t{w(6)} << 16 | w(7))
                                           : (std::uint32_t{w(4)} << 16 | w(5));
    entry.byte_length = std::uint64_t{blocks} * kQvaSectorSize;
    entry.record_length = w(3);
    entry.last_block_bytes = w(8);
    table.push_back(std::move(entry));
  }
  return QvaWord(sector, 0) != 0 || QvaWord(sector, 2) != 0;
}

bool IsSourceEntry(const std::string& type, std::uint16_t record_length,
                   std::uint16_t last_block_bytes) {
  if (record_length != 80) return false;
  for (const char* t : {"CMD", "FSL", "JSL", "PCH"}) {
    if (EqualsNoCase(type, t)) return true;
  }
  for (const char* t : {"LIB", "TMP", "MSC"}) {
    if (EqualsNoCase(type, t)) return last_block_bytes != 512;
  }
  return false;
}

bool IsQvaSystemType(const std::string& type) {
  for (const char* t : {"$Y$", "LOG", "OSD", "SAF", "SYS", "TSK"}) {
    if (EqualsNoCase(type, t)) return true;
  }
  return false;
}

bool EffectiveUserFilesOnly(const std::string& spec, bool user_files_only) {
  if (!user_files_only || spec.empty() || spec == "*.*" || spec.size() < 3) {
    return user_files_only;
  }
  return !IsQvaSystemType(spec.substr(spec.size() - 3));
}

}  // namespace kelvo
