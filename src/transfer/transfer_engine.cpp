#include "transfer/transfer_engine.h"

#include <new>

#include "transfer/transfer_routines.h"

namespace kelvo {

std::unique_ptr<CFloppyDrive> TransferRun::MakeDrive(std::string_view place) {
  const char letter = FloppyLetterOfPlace(place);
  if (letter == 0 || !services.make_drive) return nullptr;
  return services.make_drive(letter);
}

bool TransferRun::RetryAfter(ErrorCode code) {
  if (Ui().ReportError(code) == Button::Retry) return true;
  report.shown = true;
  return false;
}

bool TransferRun::StopRequested() {
  // Let the window handle its Cancel button between files.
  Ui().PumpMessages();
  if (!Progress().CancelRequested()) return false;
  report.cancelled = true;
  return true;
}

ErrorCode OpenTransferFloppy(TransferRun& run, std::string_view place, bool interactive,
                             std::uint32_t cache_blocks, std::unique_ptr<CTransferFloppy>& out) {
  out = std::make_unique<CTransferFloppy>(run.MakeDrive(place));
  ErrorCode rc = out->Open(interactive ? &run.Ui() : nullptr, cache_blocks);
  if (rc == ERR_OK) return ERR_OK;
  out.reset();
  if (rc == ERR_NOT_ENOUGH_MEMORY) return rc;
  if (interactive) {
    // The routine's other failures to open have been shown by now.
    run.report.shown = true;
    return ERR_OK;
  }
  return rc;
}

namespace {

void ShowNotImplemented(Interaction& ui) {
  ui.Beep(BeepKind::Information);
  ui.Ask(kNotImplementedText, kAppTitle, Buttons::Ok, Icon::Information);
}

ErrorCode Dispatch(TransferRun& run, const std::string& source, PlaceKind from,
                   const std::string& destination, PlaceKind to) {
  using K = PlaceKind;
  if (NothingToTransfer(from, to)) return ERR_OK;
  switch (from) {
    case K::PcFolder:
      switch (to) {
        case K::PcFolder: break;  // nothing to transfer
        case K::Floppy: return PcToFloppy(run, source, destination);
        case K::Tape: return PcToTape(run, source, destination);
        case K::DiskImage: return PcToImage(run, source, destination);
      }
      break;
    case K::Floppy:
      if (to == K::PcFolder) return FloppyToPc(run, source, destination);
      if (to == K::Floppy) return FloppyToFloppy(run, source, destination);
      break;
    case K::Tape:
      if (to == K::PcFolder) return TapeToPc(run, source, destination);
      break;
    case K::DiskImage:
      if (to == K::PcFolder) return ImageToPc(run, source, destination);
      break;
  }
  ShowNotImplemented(run.Ui());
  return ERR_OK;
}

bool IsPlaceKind(int kind) { return kind >= 0 && kind <= 3; }

}  // namespace

bool NothingToTransfer(PlaceKind source_kind, PlaceKind destination_kind) {
  using K = PlaceKind;
  return (source_kind == K::PcFolder && destination_kind == K::PcFolder) ||
         (source_kind == K::DiskImage && destination_kind == K::Tape);
}

ErrorCode TransferFiles(const TransferPlace& source, const TransferPlace& destination,
                        TransferServices& services, TransferReport* report) {
  TransferReport local;
  TransferReport& out = report ? *report : local;
  out = TransferReport{};
  if (!IsPlaceKind(static_cast<int>(source.kind)) ||
      !IsPlaceKind(static_cast<int>(destination.kind)))
    return ERR_OK;
  services.ui.PumpMessages();
  TransferRun run{services, out, services.settings ? services.settings() : TransferSettings{},
                  source.document, destination.document};
  try {
    return Dispatch(run, source.text, source.kind, destination.text, destination.kind);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

ErrorCode TransferFiles(const std::string& source, PlaceKind source_kind,
                        const std::string& destination, PlaceKind destination_kind,
                        TransferServices& services, TransferReport* report) {
  return TransferFiles(TransferPlace{source_kind, source}, TransferPlace{destination_kind, destination},
                       services, report);
}

ErrorCode TransferFiles(const std::string& source, int source_kind,
                        const std::string& destination, int destination_kind,
                        TransferServices& services, TransferReport* report) {
  if (!IsPlaceKind(source_kind) || !IsPlaceKind(destination_kind)) {
    if (report) *report = TransferReport{};
    return ERR_OK;
  }
  return TransferFiles(source, static_cast<PlaceKind>(source_kind), destination,
                       static_cast<PlaceKind>(destination_kind), services, report);
}

ErrorCode DeleteFloppySelection(const std::string& place, TransferServices& services,
                                TransferReport* report) {
  TransferReport local;
  TransferReport& out = report ? *report : local;
  out = TransferReport{};
  TransferRun run{services, out, services.settings ? services.settings() : TransferSettings{}};
  try {
    std::unique_ptr<CTransferFloppy> floppy;
    if (ErrorCode rc = OpenTransferFloppy(run, place, false, kFloppyCacheBlocks, floppy))
      return rc;
    CCopyInProgressScope busy(services.state.CopyInProgress);
    CPlaceView* window = run.DestinationView();
    for (const std::string& name : services.state.TransferSelection) {
      FileLocator file;
      ErrorCode rc = floppy->Volume().FindFile(name, file);
      if (rc == ERR_FILE_NOT_FOUND) continue;
      if (rc == ERR_OK) rc = floppy->Volume().DeleteFile(file);
      if (rc) return rc;
      ++out.copied;
      if (window) window->DropEntry(file.name);
    }
    return ERR_OK;
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

}  // namespace kelvo
