// The main window's floppy commands: the floppy explorer windows and the
// Disk menu's dialogs (Copy Disk, Label Disk, Format Disk, Drive Information).
#include "gui/shell/floppy_commands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "diskfs/label_disk.h"
#include "gui/dialogs/copy_disk_dialog.h"
#include "gui/dialogs/floppy_drive_info_dialog.h"
#include "gui/shell/floppy_drives.h"
#include "gui/windows/floppy_window.h"
#include "gui/dialogs/format_dialog.h"
#include "gui/dialogs/label_disk_dialog.h"
#include "gui/shell/window_manager.h"

namespace kelvo::gui {
namespace {

void LabelFloppy(ShellContext& ctx, CFloppyWindow& window) {
  CLabelDiskDlg dialog(window.DiskId(), &window);
  if (dialog.exec() != QDialog::Accepted) return;
  std::unique_ptr<CFloppyDrive> drive = MakeFloppyDrive(window.Device());
  // Disk IDs are stored one byte per character.
  const ErrorCode rc =
      drive ? LabelDisk(*drive, dialog.DiskId().toLatin1().toStdString()) : ERR_DRIVE_ACCESS;
  if (rc != 0) {
    ctx.ui->ReportError(rc);
    return;
  }
  window.Refresh();
}

}  // namespace

CFloppyCommands::CFloppyCommands(const ShellHost& host)
    : ctx_(host.ctx), devices_(host.devices), windows_(host.windows), parent_(host.parent) {}

CFloppyWindow* CFloppyCommands::FindFloppyWindow(const QString& drive) const {
  return windows_.FindFloppyWindow(drive);
}

CFloppyWindow* CFloppyCommands::OpenFloppyWindow(const PresentDevice& device) {
  if (CFloppyWindow* open = FindFloppyWindow(device.name)) {
    for (QMdiSubWindow* sub : windows_.MdiArea()->subWindowList())
      if (sub->widget() == open) windows_.MdiArea()->setActiveSubWindow(sub);
    return open;
  }
  auto* window = new CFloppyWindow(ctx_, device);
  // The Format dialog opens once the failed listing has finished.
  connect(window, &CFloppyWindow::formatRequested, this, &CFloppyCommands::ShowFormatDialog,
          Qt::QueuedConnection);
  windows_.MdiArea()->setActiveSubWindow(windows_.AddChild(window));
  window->Refresh();
  windows_.GrowToContent(window);
  return window;
}

void CFloppyCommands::ShowFormatDialog(const QString& drive) {
  CFormatDlg::Hooks hooks;
  hooks.shown_disk_id = [this](const QString& d) {
    CFloppyWindow* w = FindFloppyWindow(d);
    if (!w || !w->Listed()) return QString();
    const QString id = w->DiskId();
    return id.isNull() ? QStringLiteral("") : id;  // a disk without an ID shows none
  };
  hooks.refresh_drive = [this](const QString& d) {
    if (CFloppyWindow* w = FindFloppyWindow(d)) w->Refresh();
  };
  CFormatDlg dialog(ctx_, FloppyEntries(devices_), std::move(hooks), parent_);
  if (!drive.isEmpty()) dialog.SelectDrive(drive);
  dialog.exec();
}

void CFloppyCommands::RunDiskCommand(Cmd cmd) {
  switch (cmd) {
    case Cmd::CopyDisk: {
      CCopyDiskDlg dialog(ctx_, FloppyEntries(devices_), [this](const QString& d) {
        if (CFloppyWindow* w = FindFloppyWindow(d)) w->Refresh();
      }, parent_);
      dialog.exec();
      break;
    }
    case Cmd::LabelDisk:
      if (auto* floppy = qobject_cast<CFloppyWindow*>(windows_.ActiveExplorer())) LabelFloppy(ctx_, *floppy);
      break;
    case Cmd::FormatDisk: ShowFormatDialog(QString()); break;
    case Cmd::DiskDriveInfo: {
      // Drives A: and B: as bound for this run; a drive without a binding
      // contributes nothing.
      std::array<QString, 2> bound;
      for (int i = 0; i < 2; ++i) bound[static_cast<size_t>(i)] = Q(ctx_.app.Bindings.floppy[i]);
      for (const PresentDevice& d : FloppyEntries(devices_)) {
        const int i = d.name.at(0).toUpper().toLatin1() - 'A';
        if (i == 0 || i == 1) bound[static_cast<size_t>(i)] = d.device;
      }
      CFloppyDriveInfoDlg dialog(bound, parent_);
      dialog.exec();
      break;
    }
    default: break;
  }
}

}  // namespace kelvo::gui
