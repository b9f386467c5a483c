// Printer disks in floppy drives as places of the disk verbs (ls, put, get,
// rm, mv a: ...).
#include <new>

#include "app/app_state.h"
#include "cli/disk_place.h"
#include "cli/floppy_place.h"
#include "diskfs/floppy_listing.h"
#include "diskfs/floppy_volume.h"
#include "diskfs/mount.h"
#include "filetypes/stored_content.h"

namespace kelvo::cli {
namespace {

class FloppyDiskPlace final : public DiskPlace {
 public:
  FloppyDiskPlace(std::string name, std::unique_ptr<CFloppyDrive> drive, LineNumbering numbering)
      : name_(std::move(name)),
        drive_(std::move(drive)),
        session_(*drive_),
        prefetch_(*drive_),
        numbering_(numbering) {}

  ErrorCode Open(Interaction& ui) { return session_.Open(ui); }

  std::string Name() const override { return name_; }
  // A listing reads LBN 0 to 89 in one request and the rest block by block.
  CSectorSource& Source() override {
    if (!prefetched_) {
      prefetched_ = true;
      prefetch_.Load(kFloppyListingBlocks);  // on failure reads go to the drive itself
    }
    return prefetch_;
  }
  std::uint32_t CarrierBlocks() const override { return kUnknownExtent; }
  CKelvoVolume& Volume() override { return session_.Volume(); }
  bool HonoursRemoveLineNumbers() const override { return true; }
  ErrorCode Commit() override { return ERR_OK; }  // every change is already on the disk

  ErrorCode StorePcFile(std::string_view pc_name, std::span<const std::uint8_t> bytes) override {
    try {
      StoredContent content;
      if (ErrorCode rc = PrepareStoredContent(pc_name, bytes, {numbering_, ImportChoice{}}, content))
        return rc;
      FileLocator old;
      ErrorCode rc = Volume().FindFile(StoredFullName(pc_name), old);
      if (rc == ERR_OK) {
        // The old file goes only when the new one will fit in its place.
        if (!FitsAfterDeleting(old, content.words.blockCount)) return ERR_HANDLE_DISK_FULL;
        rc = Volume().DeleteFile(old);
      }
      if (rc != ERR_OK && rc != ERR_FILE_NOT_FOUND) return rc;
      return Volume().StoreContent(pc_name, content);
    } catch (const std::bad_alloc&) {
      return ERR_NOT_ENOUGH_MEMORY;
    }
  }

 private:
  bool FitsAfterDeleting(const FileLocator& old, std::uint32_t blocks) {
    std::vector<std::uint8_t>& area = session_.SystemArea();
    VolumeBlock volume = VolumeBlock::Decode(area.data() + kVolumeBlockLbn * kBlockSize);
    std::size_t at = std::size_t{volume.bitmap_lbn} * kBlockSize;
    if (area.size() < at + kBlockSize) return true;  // the store itself will tell
    Block bitmap{};
    std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(at), kBlockSize, bitmap.begin());
    AllocationBitmap(bitmap).MarkFree(old.start_lbn, old.blocks, volume.highest_lbn);
    std::uint16_t start = 0;
    return FindFreeBlocks(bitmap.data(), blocks, start, volume.highest_lbn) == ERR_OK;
  }

  std::string name_;
  std::unique_ptr<CFloppyDrive> drive_;
  CFloppyVolumeSession session_;
  CFloppyPrefetch prefetch_;
  bool prefetched_ = false;
  LineNumbering numbering_;
};

}  // namespace

int OpenFloppyDiskPlace(CliContext& ctx, const std::string& place, std::unique_ptr<DiskPlace>& out) {
  std::unique_ptr<CFloppyDrive> drive = OpenFloppyPlace(ctx, place);
  if (!drive) return kExitFailed;
  LineNumbering numbering{0, 0};
  if (ctx.state) numbering = {ctx.state->LineNumberStart, ctx.state->LineNumberIncrement};
  auto floppy = std::make_unique<FloppyDiskPlace>(place, std::move(drive), numbering);
  if (ErrorCode rc = floppy->Open(*ctx.ui)) return Finish(rc);
  out = std::move(floppy);
  return kExitOk;
}

}  // namespace kelvo::cli
