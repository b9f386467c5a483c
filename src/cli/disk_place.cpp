#include "cli/disk_place.h"

#include "cli/floppy_place.h"
#include "cli/track_image_report.h"
#include "diskfs/disk_image_doc.h"

namespace kelvo::cli {
namespace {

class CImagePlace final : public CDiskPlace {
 public:
  explicit CImagePlace(std::string path) : path_(std::move(path)), volume_(doc_) {}

  ErrorCode Open() {
    ErrorCode err = doc_.OnOpenDocument(path_);
    if (err == ERR_OK) ReportTrackImage(path_, doc_);
    return err;
  }
  std::string Name() const override { return path_; }
  CSectorSource& Source() override { return doc_; }
  std::uint32_t CarrierBlocks() const override { return doc_.BlockCount(); }
  CKelvoVolume& Volume() override { return volume_; }
  bool HonoursRemoveLineNumbers() const override { return false; }
  ErrorCode Commit() override { return doc_.IsModified() ? doc_.OnSaveDocument(path_) : ERR_OK; }

 private:
  std::string path_;
  CDiskImageDoc doc_;
  CKelvoVolume volume_;
};

}  // namespace

bool IsDrivePlace(std::string_view place) {
  return place.size() == 2 && place[1] == ':' &&
         (place[0] == 'a' || place[0] == 'A' || place[0] == 'b' || place[0] == 'B');
}

int OpenDiskPlace(CliContext& ctx, const std::string& place, std::unique_ptr<CDiskPlace>& out) {
  if (IsDrivePlace(place)) return OpenFloppyDiskPlace(ctx, place, out);
  auto image = std::make_unique<CImagePlace>(place);
  if (ErrorCode err = image->Open()) return Finish(err);
  out = std::move(image);
  return kExitOk;
}

}  // namespace kelvo::cli
