// Floppy to floppy: files copied block for block with their directory
// entries, between the disks in two drives.
#include <vector>

#include "transfer/transfer_routines.h"

namespace kelvo {

ErrorCode FloppyToFloppy(TransferRun& run, const std::string& source,
                         const std::string& destination) {
  TransferState& state = run.State();
  // A disk copied onto itself would be opened twice with two copies of its
  // bitmap; there is nothing to copy.
  if (FloppyLetterOfPlace(source) == FloppyLetterOfPlace(destination)) return ERR_OK;
  CPlaceView* window = run.DestinationView();
  std::unique_ptr<CTransferFloppy> from;
  if (ErrorCode rc = OpenTransferFloppy(run, source, true, kFloppyPairCacheBlocks, from))
    return rc;
  if (!from) return ERR_OK;
  std::unique_ptr<CTransferFloppy> to;
  if (ErrorCode rc = OpenTransferFloppy(run, destination, false, kFloppyPairCacheBlocks, to))
    return rc;

  CCopyFilesWindowScope progress(run.Progress(), destination);
  CCopyInProgressScope busy(state.CopyInProgress);
  std::vector<std::uint8_t> data;
  for (const std::string& name : state.TransferSelection) {
    if (run.StopRequested()) break;
    run.Progress().SetCopying(source + " " + name);
    FileLocator file;
    if (ErrorCode rc = from->Volume().FindFile(name, file)) return rc;
    if (ErrorCode rc = from->Volume().ReadFileBlocks(file, data)) return rc;
    if (ErrorCode rc = RemoveOldCopy(to->Volume(), file.name, file.entry.blocks, window)) return rc;
    if (ErrorCode rc = to->Volume().StoreEntry(file.type, file.entry, data)) return rc;
    ++run.report.copied;
    if (window) window->AddEntry(file.name, &to->Volume().LastStoredEntry());
  }
  return ERR_OK;
}

}  // namespace kelvo
