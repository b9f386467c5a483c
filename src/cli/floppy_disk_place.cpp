// Printer disks in floppy drives as places of the disk verbs (ls, put, get,
// rm, mv a: ...).
#include "cli/disk_place.h"
#include "cli/floppy_place.h"
#include "diskfs/floppy_listing.h"
#include "diskfs/floppy_volume_session.h"
#include "diskfs/mount.h"

namespace kelvo::cli {
namespace {

class CFloppyDiskPlace final : public CDiskPlace {
 public:
  CFloppyDiskPlace(std::string name, std::unique_ptr<CFloppyDrive> drive)
      : name_(std::move(name)), drive_(std::move(drive)), session_(*drive_), prefetch_(*drive_) {}

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

 private:
  std::string name_;
  std::unique_ptr<CFloppyDrive> drive_;
  CFloppyVolumeSession session_;
  CFloppyPrefetch prefetch_;
  bool prefetched_ = false;
};

}  // namespace

int OpenFloppyDiskPlace(CliContext& ctx, const std::string& place, std::unique_ptr<CDiskPlace>& out) {
  std::unique_ptr<CFloppyDrive> drive = OpenFloppyPlace(ctx, place);
  if (!drive) return kExitFailed;
  auto floppy = std::make_unique<CFloppyDiskPlace>(place, std::move(drive));
  if (ErrorCode rc = floppy->Open(*ctx.ui)) return Finish(rc);
  out = std::move(floppy);
  return kExitOk;
}

}  // namespace kelvo::cli
