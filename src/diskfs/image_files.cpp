// Storing PC files into a disk image and exporting them, and the naming
// rules shared with the floppy form.
#include <new>

#include "diskfs/kelvo_volume.h"
#include "core/radix50.h"
#include "filetypes/file_names.h"
#include "filetypes/file_types.h"
#include "core/atomic_file.h"
#include "diskfs/disk_image_doc.h"

namespace kelvo {

std::string StoredFullName(std::string_view pc_name) {
  const PrinterName printer = PcNameToPrinterName(pc_name);
  if (!IsStorableKelvoName(pc_name)) return "." + printer.type;
  std::string name = RadixDecode(RadixEncode(printer.first));
  if (!printer.second.empty()) name += RadixDecode(RadixEncode(printer.second));
  return name + "." + printer.type;
}

ErrorCode CKelvoVolume::StoreContent(std::string_view pc_name, const StoredContent& content) {
  const std::string full = StoredFullName(pc_name);
  // A name part that decodes to nothing cannot be found again by its name.
  if (full.front() == '.') return ERR_INVALID_FILE_NAME;
  const PrinterName printer = PcNameToPrinterName(pc_name);
  return StoreNewFile({printer.first, printer.second, printer.type, content.words, content.blocks});
}

ErrorCode CKelvoVolume::StoreFile(std::string_view pc_name,
                                  std::span<const std::uint8_t> file_bytes) {
  if (!image_) return ERR_INVALID_FUNCTION;
  if (StoredFullName(pc_name).front() == '.') return ERR_INVALID_FILE_NAME;
  try {
    StoredContent content;
    const ImportOptions options{kImageLineNumbering, ImportChoice{true}};
    if (ErrorCode err = PrepareStoredContent(pc_name, file_bytes, options, content)) return err;
    const bool was_modified = image_->IsModified();
    std::vector<std::uint8_t> snapshot = image_->Snapshot();
    // The same rule as on a floppy: the old copy goes only when the new
    // content fits in its place.
    FileLocator old;
    ErrorCode err = RemoveForReplacement(StoredFullName(pc_name), content.words.block_count, old);
    if (err == ERR_OK) err = StoreContent(pc_name, content);
    if (err) image_->Restore(std::move(snapshot), was_modified);
    return err;
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

ErrorCode CKelvoVolume::ExportFile(std::string_view name, const std::filesystem::path& pc_path,
                                   const ExportOptions& options) {
  try {
    FileLocator file;
    if (ErrorCode err = FindFile(name, file)) return err;
    return ExportEntry(file, pc_path, options);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

ErrorCode CKelvoVolume::ExportEntry(const FileLocator& file, const std::filesystem::path& pc_path,
                                    const ExportOptions& options) {
  try {
    std::vector<std::uint8_t> blocks;
    if (ErrorCode err = ReadFileBlocks(file, blocks)) return err;
    const EntryWords words{file.entry.record_size, file.entry.blocks,
                           file.entry.first_free_byte};
    std::vector<std::uint8_t> pc_bytes;
    CVectorSink sink(pc_bytes);
    if (ErrorCode err = ExportStoredFile(file.type, words, blocks, options, sink)) return err;
    return WriteFileAtomically(pc_path, pc_bytes);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

}  // namespace kelvo
