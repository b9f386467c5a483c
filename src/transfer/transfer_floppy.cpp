// PC folder to floppy and floppy to PC folder.
#include <filesystem>
#include <string>

#include "core/whole_file.h"
#include "filetypes/file_names.h"
#include "filetypes/stored_content.h"
#include "media/pc_folder_names.h"
#include "transfer/transfer_routines.h"

namespace kelvo {
namespace {

// Reads the PC file and prepares what it becomes on the disk.
ErrorCode PrepareFromPcFile(const std::string& path, const std::string& pc_name,
                            const ImportOptions& options, StoredContent& content) {
  std::string bytes;
  if (ErrorCode rc = ReadWholeFile(path, bytes)) return rc;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  return PrepareStoredContent(pc_name, {data, bytes.size()}, options, content);
}

}  // namespace

ErrorCode RemoveOldCopy(CKelvoVolume& volume, const std::string& stored_name,
                        std::uint32_t blocks, CPlaceView* window) {
  FileLocator old;
  if (ErrorCode rc = volume.RemoveForReplacement(stored_name, blocks, old)) return rc;
  if (window && !old.name.empty()) window->DropEntry(old.name);
  return ERR_OK;
}

ErrorCode PcToFloppy(TransferRun& run, const std::string& source,
                     const std::string& destination) {
  TransferState& state = run.State();
  CPlaceView* window = run.DestinationView();
  std::unique_ptr<CTransferFloppy> floppy;
  if (ErrorCode rc = OpenTransferFloppy(run, destination, true, kFloppyCacheBlocks, floppy))
    return rc;
  if (!floppy) return ERR_OK;
  CKelvoVolume& volume = floppy->Volume();
  const std::string folder = FolderText(source);
  const ImportOptions options{LineNumbering{state.LineNumberStart, state.LineNumberIncrement},
                              ImportChoice{}};

  CCopyFilesWindowScope progress(run.Progress(), destination);
  CCopyInProgressScope busy(state.CopyInProgress);
  for (const std::string& name : state.TransferSelection) {
    if (run.StopRequested()) break;
    run.Progress().SetCopying(folder + name);
    const std::string stored = StoredFullName(name);
    StoredContent content;
    for (;;) {
      const ErrorCode rc = PrepareFromPcFile(folder + name, name, options, content);
      if (rc == ERR_OK) break;
      if (!run.RetryAfter(rc)) return ERR_OK;
    }
    // The fit of the new content is decided before the old copy goes.
    if (ErrorCode rc = RemoveOldCopy(volume, stored, content.words.block_count, window)) return rc;
    for (;;) {
      const ErrorCode rc = volume.StoreContent(name, content);
      if (rc == ERR_OK) break;
      if (!run.RetryAfter(rc)) return ERR_OK;
    }
    ++run.report.copied;
    if (window) window->AddEntry(stored, &volume.LastStoredEntry());
  }
  return ERR_OK;
}

ErrorCode FloppyToPc(TransferRun& run, const std::string& source,
                     const std::string& destination) {
  TransferState& state = run.State();
  std::unique_ptr<CTransferFloppy> floppy;
  if (ErrorCode rc = OpenTransferFloppy(run, source, true, kFloppyCacheBlocks, floppy))
    return rc;
  if (!floppy) return ERR_OK;
  CKelvoVolume& volume = floppy->Volume();
  const std::string folder = FolderText(destination);
  ExportOptions options;
  options.retain_format = run.settings.retain_format;
  options.remove_line_numbers = run.settings.remove_line_numbers;

  CCopyFilesWindowScope progress(run.Progress(), folder);
  CCopyInProgressScope busy(state.CopyInProgress);
  for (const std::string& name : state.TransferSelection) {
    if (run.StopRequested()) break;
    run.Progress().SetCopying(source + " " + name);
    FileLocator file;
    ErrorCode rc = volume.FindFile(name, file);
    if (rc == ERR_FILE_NOT_FOUND) {
      run.Ui().ReportError(ERR_FILE_NOT_FOUND);
      run.report.shown = true;
      return ERR_OK;
    }
    if (rc) return rc;
    const std::filesystem::path target =
        std::filesystem::path(folder) / PcFileNameInFolder(folder, DisplayName(file.name));
    if (ErrorCode err = volume.ExportFile(file.name, target, options)) return err;
    ++run.report.copied;
  }
  return ERR_OK;
}

}  // namespace kelvo
