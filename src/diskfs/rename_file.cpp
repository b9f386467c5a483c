// Renaming a printer file: the entry moves to a free slot of the new name's
// type and keeps its blocks and sizes.
#include "diskfs/kelvo_volume.h"
#include "diskfs/mount.h"
#include "core/radix50.h"
#include "filetypes/file_names.h"

namespace kelvo {

ErrorCode CKelvoVolume::RenameFile(std::string_view old_name, std::string_view new_name) {
  if (!IsKelvoFileName(new_name)) return ERR_INVALID_FILE_NAME;
  const std::string new_full = StoredFullName(new_name);
  if (new_full.front() == '.') return ERR_INVALID_FILE_NAME;
  FileLocator existing;
  ErrorCode err = FindFile(new_full, existing);
  if (err == ERR_OK) return ERR_FILE_EXISTS;
  if (err != ERR_FILE_NOT_FOUND) return err;
  FileLocator old;
  if (ErrorCode find = FindFile(old_name, old)) return find;
  if (old.type == "$Y$") return ERR_ACCESS_DENIED;  // the file system's own files stay
  const PrinterName printer = PcNameToPrinterName(new_name);
  AllocationRequest request{printer.type, 0, 0, 0, 0};
  if (ErrorCode slot = FindFreeSlot(request)) return slot;

  VolumeBlock volume;
  if (ErrorCode read = ReadVolumeBlock(carrier_, volume)) return read;
  for (std::uint16_t lbn : {old.directory_lbn, request.directory_lbn})
    if (lbn == kVolumeBlockLbn || lbn == volume.bitmap_lbn) return ERR_DAMAGED_LAYOUT;

  FileEntry renamed = old.entry;
  renamed.name1 = RadixEncode(printer.first);
  renamed.name2 = printer.second.empty() ? 0 : RadixEncode(printer.second);

  if (ErrorCode lock = carrier_.Lock()) return lock;
  Block target{};
  err = carrier_.ReadSectors(request.directory_lbn, 1, target.data());
  if (!err && request.directory_lbn == old.directory_lbn) {
    // One sector holds both slots: one write moves the entry.
    PutSlot(target.data(), old.slot, FileEntry{});
    PutSlot(target.data(), request.slot, renamed);
    err = carrier_.WriteSectors(request.directory_lbn, 1, target.data());
  } else if (!err) {
    // The old entry is cleared first: a failure in between can lose the
    // entry (its blocks stay marked used) but never leaves two entries
    // owning the same blocks. The old entry is put back if the device lets us.
    Block source{};
    err = carrier_.ReadSectors(old.directory_lbn, 1, source.data());
    const Block source_before = source;
    if (!err) {
      PutSlot(source.data(), old.slot, FileEntry{});
      err = carrier_.WriteSectors(old.directory_lbn, 1, source.data());
    }
    if (!err) {
      PutSlot(target.data(), request.slot, renamed);
      err = carrier_.WriteSectors(request.directory_lbn, 1, target.data());
      if (err) carrier_.WriteSectors(old.directory_lbn, 1, source_before.data());
    }
  }
  carrier_.Unlock();
  return err;
}

}  // namespace kelvo
