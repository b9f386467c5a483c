#include "gui/windows/floppy_window.h"

#include "app/engine_setup.h"
#include "diskfs/floppy_listing.h"
#include "diskfs/floppy_volume_session.h"
#include "diskfs/mount.h"
#include "gui/dialogs/copy_files_dialog.h"
#include "gui/shell/floppy_drives.h"
#include "transfer/transfer_engine.h"

namespace kelvo::gui {

CFloppyWindow::CFloppyWindow(ShellContext& ctx, const PresentDevice& device, QWidget* parent)
    : CKelvoDiskWindow(ctx, PlaceKind::Floppy, parent), device_(device) {
  setWindowTitle(PlaceText());
  ShowListing(DiskListing(), PlaceText());
}

QString CFloppyWindow::ListingHeadingText() const {
  return QStringLiteral("Listing of files contained on diskette: ") + PlaceText();
}

ErrorCode CFloppyWindow::ReadDisk(DiskListing& listing) {
  std::unique_ptr<CFloppyDrive> drive = MakeFloppyDrive(device_);
  if (!drive) return ERR_DRIVE_ACCESS;
  // A disk without the printer's mark is not walked at all.
  if (ErrorCode rc = CheckKelvoDrive(*drive)) return rc;
  return ListFloppy(*drive, listing);
}

void CFloppyWindow::Refresh() {
  // Not while this window reads the disk, nor while a transfer holds a drive.
  if (Busy() || Context().app.CopyInProgress) {
    Context().ui->Beep(BeepKind::Exclamation);
    return;
  }
  SetBusy(true);
  Interaction& ui = *Context().ui;
  DiskListing listing;
  ErrorCode rc = 0;
  bool format = false;
  for (;;) {
    ui.PumpMessages();
    rc = ReadDisk(listing);
    if (rc == 0) break;
    const Button answer = ui.ReportError(rc);
    if (answer == Button::Retry) continue;
    format = rc == ERR_NOT_KELVO_FORMAT && answer == Button::Yes;
    break;
  }
  listed_ = rc == 0;
  if (!listed_) listing = DiskListing();
  ShowListing(std::move(listing), PlaceText());
  SetBusy(false);
  Q_EMIT stateChanged();
  if (format) Q_EMIT formatRequested(device_.name);
}

ErrorCode CFloppyWindow::DoDelete(const QStringList& names) {
  ShellContext& ctx = Context();
  ctx.SetTransferSelection(names);
  CCopyFilesDlg unused_progress(this);
  TransferServices services = MakeTransferServices(ctx.app, *ctx.ui, unused_progress);
  services.make_drive = [this](char) { return MakeFloppyDrive(device_); };
  TransferReport report;
  SetBusy(true);
  const ErrorCode rc = DeleteFloppySelection(S(PlaceText()), services, &report);
  SetBusy(false);
  // The list follows the disk; a drive that failed at once is not asked again.
  if (rc == 0 || report.copied > 0) Refresh();
  return rc;
}

ErrorCode CFloppyWindow::DoRename(const QString& old_name, const QString& new_name) {
  std::unique_ptr<CFloppyDrive> drive = MakeFloppyDrive(device_);
  if (!drive) return ERR_DRIVE_ACCESS;
  CFloppyVolumeSession session(*drive);
  // A failure to open the disk has been shown by the session.
  if (session.Open(*Context().ui) != 0) return 0;
  const ErrorCode rc = session.Volume().RenameFile(S(old_name), S(new_name));
  if (rc != 0) return rc;
  // A new type can move the file to another directory, so the list is read
  // again once the list has finished ending the edit.
  QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection);
  return 0;
}

}  // namespace kelvo::gui
