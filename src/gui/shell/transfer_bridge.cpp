#include "gui/shell/transfer_bridge.h"

#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/engine_setup.h"
#include "gui/dialogs/copy_files_dialog.h"
#include "gui/windows/disk_image_window.h"
#include "gui/shell/shell_host.h"
#include "gui/dialogs/restore_progress_dialog.h"
#include "gui/windows/tape_window.h"
#include "transfer/transfer_engine.h"

namespace kelvo::gui {
namespace {

// An open explorer window as the engine sees it. New entries are not added
// one by one: the caller refreshes the destination list after the transfer.
class CExplorerView final : public CPlaceView {
 public:
  explicit CExplorerView(CChildFrameWindow& window) : window_(window) {}
  void DropEntry(std::string_view name) override {
    window_.DropEntry(QString::fromUtf8(name.data(), int(name.size())));
  }
  void AddEntry(std::string_view, const FileEntry*) override {}

 private:
  CChildFrameWindow& window_;
};

// A place of the request as the engine takes it: the open document of an
// image window is the image, also when it has not been saved.
TransferPlace PlaceOf(const QString& text, PlaceKind kind, CChildFrameWindow* window) {
  TransferPlace place{kind, S(text)};
  if (auto* image = qobject_cast<CDiskImageWindow*>(window)) place.document = &image->Document();
  return place;
}

// For the life of a transfer: the copy-in-progress flag is set and the
// windows it uses are busy, so none of them (nor the main window) closes
// while the engine pumps messages between files.
class CTransferRunningScope {
 public:
  CTransferRunningScope(bool& flag, std::initializer_list<CChildFrameWindow*> windows)
      : flag_(flag), flag_before_(flag) {
    flag_ = true;
    for (CChildFrameWindow* w : windows) {
      if (!w) continue;
      windows_.push_back({w, w->Busy()});
      w->SetBusy(true);
    }
  }
  ~CTransferRunningScope() {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) it->first->SetBusy(it->second);
    flag_ = flag_before_;
  }
  CTransferRunningScope(const CTransferRunningScope&) = delete;
  CTransferRunningScope& operator=(const CTransferRunningScope&) = delete;

 private:
  bool& flag_;
  bool flag_before_;
  std::vector<std::pair<CChildFrameWindow*, bool>> windows_;
};

}  // namespace

ErrorCode TransferBetweenWindows(const ShellHost& host, const TransferRequest& r, TransferReport* report) {
  ShellContext& ctx = host.ctx;
  Interaction& ui = *ctx.ui;
  ui.PumpMessages();
  using K = PlaceKind;
  const K s = r.source_kind;
  const K d = r.destination_kind;
  if (NothingToTransfer(s, d)) return 0;
  const bool tape = s == K::Tape || d == K::Tape;
  if (ctx.app.CopyInProgress || (tape && ctx.app.TapeBusy)) {
    // One transfer and one tape operation at a time: a drop while another
    // runs is refused.
    ui.Beep(BeepKind::Exclamation);
    return 0;
  }

  ctx.SetTransferSelection(r.names);
  CCopyFilesDlg progress(host.parent);
  // Opening a floppy takes a while: the wait cursor shows until the progress
  // window does.
  if (s == K::Floppy || d == K::Floppy) progress.HoldWaitCursor();
  std::unique_ptr<CRestoreProgressDlg> tape_progress;
  if (tape) tape_progress = std::make_unique<CRestoreProgressDlg>(ctx.app.TapeBusy, host.parent);
  std::optional<CExplorerView> source_view;
  std::optional<CExplorerView> destination_view;
  if (r.source_window) source_view.emplace(*r.source_window);
  if (r.destination_window) destination_view.emplace(*r.destination_window);
  const TransferViews views{source_view ? &*source_view : nullptr,
                            destination_view ? &*destination_view : nullptr};
  // Floppy letters are bound to the devices of the main window's device bar.
  std::map<char, std::string> floppies;
  for (const PresentDevice& d : host.devices)
    if (!d.tape && !d.name.isEmpty()) floppies.emplace(d.name.at(0).toUpper().toLatin1(), S(d.device));
  TransferServices services =
      MakeTransferServices(ctx.app, ui, progress, views, tape_progress.get());
  services.make_drive = MakeFloppyDriveMaker(std::move(floppies));
  ErrorCode code = 0;
  {
    CTransferRunningScope running(ctx.app.CopyInProgress, {r.source_window, r.destination_window});
    code = kelvo::TransferFiles(PlaceOf(r.source, s, r.source_window),
                                PlaceOf(r.destination, d, r.destination_window), services, report);
  }
  if (d == K::Tape && s == K::PcFolder) {
    // After a tape write, an open window of that tape lists it again.
    if (tape_progress->WasShown()) {
      if (CTapeWindow* window = FindTapeWindow(host.windows, r.destination)) window->ListTape();
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
