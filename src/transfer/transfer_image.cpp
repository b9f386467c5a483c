// PC folder to disk image and disk image to PC folder. The image is the
// document of its place; saving it is the business of the place's holder.
#include <filesystem>
#include <string>

#include "core/whole_file.h"
#include "filetypes/file_names.h"
#include "diskfs/disk_image_doc.h"
#include "media/pc_folder_names.h"
#include "transfer/transfer_routines.h"

namespace kelvo {

ErrorCode PcToImage(TransferRun& run, const std::string& source,
                    const std::string& destination) {
  CPlaceView* window = run.DestinationView();
  CDiskImageDoc* image = run.destination_image;
  if (!image) return ERR_INVALID_HANDLE;
  CKelvoVolume volume(*image);
  const std::string folder = FolderText(source);

  CCopyFilesWindowScope progress(run.Progress(), destination);
  for (const std::string& name : run.State().TransferSelection) {
    if (run.StopRequested()) break;
    run.Progress().SetCopying(folder + name);
    std::string bytes;
    if (ErrorCode rc = ReadWholeFile(folder + name, bytes)) {
      if (rc != ERR_NOT_ENOUGH_MEMORY) return rc;
      run.Ui().ReportError(rc);
      run.report.shown = true;
      return ERR_OK;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::string stored = StoredFullName(name);
    FileLocator old;
    const bool replaces = volume.FindFile(stored, old) == ERR_OK;
    // The store replaces an old file of the same name all-or-nothing, so
    // the old copy stays (and stays listed) when the user gives up.
    for (;;) {
      const ErrorCode rc = volume.StoreFile(name, {data, bytes.size()});
      if (rc == ERR_OK) break;
      if (!run.RetryAfter(rc)) return ERR_OK;
    }
    ++run.report.copied;
    if (!window) continue;
    if (replaces) window->DropEntry(old.name);
    window->AddEntry(stored, &volume.LastStoredEntry());
  }
  return ERR_OK;
}

ErrorCode ImageToPc(TransferRun& run, const std::string& /*source*/,
                    const std::string& destination) {
  CDiskImageDoc* image = run.source_image;
  if (!image) return ERR_INVALID_HANDLE;
  CKelvoVolume volume(*image);
  const std::string folder = FolderText(destination);
  ExportOptions options;
  options.retain_format = run.settings.retain_format;
  // Text exported from an image keeps its line numbers.
  options.remove_line_numbers = false;

  CCopyFilesWindowScope progress(run.Progress(), destination);
  for (const std::string& name : run.State().TransferSelection) {
    if (run.StopRequested()) break;
    run.Progress().SetCopying(folder + name);
    for (;;) {
      FileLocator file;
      ErrorCode rc = volume.FindFile(name, file);
      if (rc == ERR_OK) {
        const auto target =
            std::filesystem::path(folder) / PcFileNameInFolder(folder, DisplayName(file.name));
        rc = volume.ExportFile(file.name, target, options);
      }
      if (rc == ERR_OK) break;
      if (!run.RetryAfter(rc)) return ERR_OK;
    }
    ++run.report.copied;
  }
  return ERR_OK;
}

}  // namespace kelvo
