#include "reliability/disk_checks.h"

#include <vector>

#include "diskfs/consistency_check.h"
#include "diskfs/kelvo_volume.h"
#include "diskfs/disk_image_doc.h"
#include "support/floppy_media.h"

namespace kelvo::test {

::testing::AssertionResult DiskIsSound(const std::filesystem::path& path, MayBeBlank blank,
                                       DiskListing* listing) {
  CDiskImageDoc doc;
  const ErrorCode loaded = doc.LoadImage(ReadBytes(path));
  if (loaded == ERR_BAD_IMAGE && blank == MayBeBlank::Yes) return ::testing::AssertionSuccess();
  if (loaded != ERR_OK)
    return ::testing::AssertionFailure() << path << " is no printer disk (" << loaded << ")";
  CheckReport report;
  if (ErrorCode err = CheckDiskConsistency(doc, report, doc.BlockCount()))
    return ::testing::AssertionFailure() << "check failed with " << err;
  if (!report.Clean()) {
    auto failure = ::testing::AssertionFailure() << path.filename() << " is damaged:";
    for (const CheckFinding& f : report.findings) failure << "\n  " << f.text;
    return failure;
  }
  if (listing && ListFiles(doc, *listing, doc.BlockCount()) != ERR_OK)
    return ::testing::AssertionFailure() << "cannot list " << path;
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult HoldsFile(const std::filesystem::path& path, const std::string& name,
                                     std::uint16_t blocks, std::uint8_t fill) {
  CDiskImageDoc doc;
  if (doc.LoadImage(ReadBytes(path)) != ERR_OK)
    return ::testing::AssertionFailure() << path << " is no printer disk";
  CKelvoVolume volume(doc);
  FileLocator file;
  if (volume.FindFile(name, file) != ERR_OK)
    return ::testing::AssertionFailure() << name << " is not on " << path.filename();
  if (file.blocks != blocks)
    return ::testing::AssertionFailure() << name << " has " << file.blocks << " blocks";
  std::vector<std::uint8_t> data;
  if (volume.ReadFileBlocks(file, data) != ERR_OK)
    return ::testing::AssertionFailure() << name << " cannot be read";
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] != fill) return ::testing::AssertionFailure() << name << " differs at byte " << i;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult OnlyNote(const std::filesystem::path& path, FindingKind kind) {
  CDiskImageDoc doc;
  CheckReport report;
  if (doc.LoadImage(ReadBytes(path)) != ERR_OK || CheckDiskConsistency(doc, report) != ERR_OK)
    return ::testing::AssertionFailure() << path << " cannot be checked";
  for (const CheckFinding& f : report.findings) {
    if (f.damage) return ::testing::AssertionFailure() << f.text;
  }
  if (!report.Has(kind)) return ::testing::AssertionFailure() << "no " << FindingKindName(kind);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult HoldsFileInstead(const std::filesystem::path& path, const std::string& gone,
                                            const std::string& name, std::uint16_t blocks, std::uint8_t fill) {
  DiskListing listing;
  if (auto ok = DiskIsSound(path, MayBeBlank::No, &listing); !ok) return ok;
  for (const ListedFile& f : listing.files) {
    if (f.name == gone) return ::testing::AssertionFailure() << gone << " still listed";
  }
  return HoldsFile(path, name, blocks, fill);
}

int HiddenFiles(const std::filesystem::path& folder) {
  int n = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec)) {
    if (entry.path().filename().string().front() == '.') ++n;
  }
  return n;
}

}  // namespace kelvo::test
