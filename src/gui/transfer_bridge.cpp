#include "gui/transfer_bridge.h"

#include <memory>
#include <vector>

#include "app/engine_setup.h"
#include "gui/copy_files_dialog.h"
#include "gui/disk_image_window.h"
#include "gui/floppy_drives.h"
#include "gui/main_frame.h"
#include "gui/restore_progress_dialog.h"
#include "gui/tape_window.h"
#include "transfer/transfer_engine.h"

namespace kelvo::gui {
namespace {

// An open explorer window as the engine sees it. New entries are not added
// one by one: the caller refreshes the destination list after the transfer.
class ExplorerPlace final : public CPlaceWindow {
 public:
  explicit ExplorerPlace(CChildFrameWindow& window) : window_(window) {}
  std::string Title() const override { return S(window_.PlaceText()); }
  void DropEntry(std::string_view name) override {
    window_.DropEntry(QString::fromUtf8(name.data(), int(name.size())));
  }
  void AddEntry(std::string_view, const FileEntry*) override {}
  CDiskImageDoc* Document() override {
    auto* image = qobject_cast<CDiskImageWindow*>(&window_);
    return image ? &image->Document() : nullptr;
  }

 private:
  CChildFrameWindow& window_;
};

// The frame's explorer windows, taken when the transfer starts.
class FramePlaces final : public CPlaceWindows {
 public:
  explicit FramePlaces(const CMainFrame& frame) {
    for (CChildFrameWindow* window : frame.Explorers())
      places_.push_back(std::make_unique<ExplorerPlace>(*window));
  }
  CPlaceWindow* FindWindow(std::string_view place_text) override {
    const QString wanted = QString::fromUtf8(place_text.data(), int(place_text.size()));
    for (const auto& place : places_)
      if (Q(place->Title()).compare(wanted, Qt::CaseInsensitive) == 0) return place.get();
    return nullptr;
  }

 private:
  std::vector<std::unique_ptr<ExplorerPlace>> places_;
};

}  // namespace

ErrorCode TransferFiles(CMainFrame& frame, const TransferRequest& r) {
  ShellContext& ctx = frame.Context();
  Interaction& ui = *ctx.ui;
  ui.PumpMessages();
  using K = PlaceKind;
  const K s = r.source_kind;
  const K d = r.destination_kind;
  // Pairs with nothing to do.
  if ((s == K::PcFolder && d == K::PcFolder) || (s == K::DiskImage && d == K::Tape)) return 0;
  const bool tape = s == K::Tape || d == K::Tape;
  if (tape && ctx.app.TapeBusy) {
    // One tape operation at a time: a drop while a listing, write or
    // restore runs is refused.
    ui.Beep(BeepKind::Exclamation);
    return 0;
  }

  ctx.SetTransferSelection(r.names);
  CCopyFilesDialog progress(&frame);
  std::unique_ptr<CRestoreProgressDlg> tape_progress;
  if (tape) tape_progress = std::make_unique<CRestoreProgressDlg>(ctx.app.TapeBusy, &frame);
  FramePlaces places(frame);
  // Floppy letters are bound to the devices of the main window's device bar.
  FloppyDriveMaker make_drive = [&frame](char letter) -> std::unique_ptr<CFloppyDrive> {
    for (const DeviceEntry& d : frame.Devices())
      if (!d.tape && d.name.startsWith(QChar(letter), Qt::CaseInsensitive)) return MakeFloppyDrive(d);
    return nullptr;
  };
  TransferServices services =
      MakeTransferServices(ctx.app, ui, progress, &places, tape_progress.get());
  services.make_drive = make_drive;
  const ErrorCode code = kelvo::TransferFiles(S(r.source), static_cast<int>(s),
                                              S(r.destination), static_cast<int>(d), services);
  if (d == K::Tape && s == K::PcFolder) {
    // After a tape write, an open window of that tape lists it again.
    if (tape_progress->WasShown()) {
      if (CTapeWindow* window = FindTapeWindow(frame, r.destination)) window->ListTape();
    }
    // Drops on a tape ignore the result, and the progress window ends with
    // "Done." also when a file could not be written: say the failure here.
    if (code != 0) {
      ui.ReportError(code);
      return 0;
    }
  }
  return code;
}

}  // namespace kelvo::gui
