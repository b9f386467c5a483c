// Fuzz target: a disk image opened and listed, then a file exported, stored,
// renamed and deleted in it.
//
// The input is the image itself. A raw image shorter than the smallest one
// accepted is padded with zero blocks to 80 blocks (the size of a new image),
// so the fuzzer can work on the system area and first directory sectors
// without carrying the whole image. An input starting "IMD " is an archive
// and is opened from a file, as a user's would be.
//
// Besides crashes, the target checks two promises of the file operations: a
// failed store, rename or delete leaves the image byte for byte as it was,
// and a file reported stored can be found again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diskfs/kelvo_volume.h"
#include "diskfs/listing.h"
#include "fuzz_support.h"
#include "diskfs/disk_image_doc.h"

namespace {

using kelvo::CDiskImageDoc;
using kelvo::CKelvoVolume;
using kelvo::ErrorCode;

constexpr std::size_t kPaddedBlocks = 80;

bool LoadInput(CDiskImageDoc& doc, const std::uint8_t* data, std::size_t size) {
  if (size >= 4 && std::memcmp(data, "IMD ", 4) == 0) {
    auto path = kelvo::fuzz::WriteScratchFile("input.imd", data, size);
    return doc.OnOpenDocument(path) == kelvo::ERR_OK;
  }
  std::vector<std::uint8_t> bytes(data, data + size);
  if (bytes.size() < kelvo::kMinImageBytes) bytes.resize(kPaddedBlocks * kelvo::kBlockSize, 0);
  return doc.LoadImage(std::move(bytes)) == kelvo::ERR_OK;
}

// Runs `operation`; when it fails the image must be exactly as before.
template <typename Operation>
ErrorCode Unchanged(CDiskImageDoc& doc, Operation operation) {
  std::vector<std::uint8_t> before = doc.Snapshot();
  ErrorCode err = operation();
  if (err != kelvo::ERR_OK && doc.Bytes() != before) {
    std::fprintf(stderr, "a failed operation (error %d) changed the image\n", int(err));
    std::abort();
  }
  return err;
}

void StoreAndFind(CDiskImageDoc& doc, const std::string& pc_name,
                  const std::vector<std::uint8_t>& content) {
  CKelvoVolume volume(doc);
  ErrorCode err = Unchanged(doc, [&] { return volume.StoreFile(pc_name, content); });
  if (err != kelvo::ERR_OK) return;
  kelvo::FileLocator found;
  if (volume.FindFile(kelvo::StoredFullName(pc_name), found) != kelvo::ERR_OK) {
    std::fprintf(stderr, "%s was stored but cannot be found\n", pc_name.c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelvo::fuzz::ClearScratch();
  CDiskImageDoc doc;
  if (!LoadInput(doc, data, size)) return 0;

  kelvo::DiskListing listing;
  if (kelvo::ListFiles(doc, listing, doc.BlockCount()) != kelvo::ERR_OK) return 0;
  (void)listing.FreeSpace();

  CKelvoVolume volume(doc);
  std::uint64_t free_bytes = 0;
  (void)volume.FreeSpace(free_bytes);

  // Export the first files, as PC text and in the printer's format.
  const auto out_path = kelvo::fuzz::ScratchDir() / "exported";
  for (std::size_t i = 0; i < listing.files.size() && i < 4; ++i) {
    kelvo::ExportOptions options;
    options.retain_format = (i % 2) == 1;
    options.remove_line_numbers = (i % 3) == 2;
    (void)volume.ExportFile(listing.files[i].name, out_path, options);
  }

  // Store a source text and a binary file.
  std::string text = "FIRST LINE\r\nSECOND LINE OF THE SOURCE\r\n\r\nLAST\r\n";
  StoreAndFind(doc, "FZTEXT.PCH", std::vector<std::uint8_t>(text.begin(), text.end()));
  StoreAndFind(doc, "FZBIN.FNT", std::vector<std::uint8_t>(1500, 0x5A));

  // Rename the first listed file and delete the second.
  if (!listing.files.empty()) {
    const auto& first = listing.files.front();
    std::string new_name = "FZREN." + first.type;
    CKelvoVolume renamer(doc);
    (void)Unchanged(doc, [&] { return renamer.RenameFile(first.name, new_name); });
  }
  if (listing.files.size() > 1) {
    CKelvoVolume deleter(doc);
    (void)Unchanged(doc, [&] { return deleter.DeleteFile(listing.files[1].name); });
  }

  // The image after the changes still lists.
  kelvo::DiskListing after;
  (void)kelvo::ListFiles(doc, after, doc.BlockCount());
  return 0;
}
