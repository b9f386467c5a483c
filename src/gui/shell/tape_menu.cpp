// The Tape menu: listing, restoring, the single-action tape commands and the
// drive information, each with the handling of the tape's explorer window.
#include "gui/shell/tape_menu.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "gui/windows/child_frame_window.h"
#include "gui/shell/window_manager.h"
#include "gui/windows/qva_restore_dialog.h"
#include "gui/dialogs/restore_progress_dialog.h"
#include "gui/dialogs/tape_drive_info_dialog.h"
#include "gui/dialogs/select_tape_drive_dialog.h"
#include "gui/shell/tape_image_commands.h"
#include "gui/dialogs/tape_restore_dialog.h"
#include "gui/windows/tape_window.h"
#include "tape/tape_drive_info.h"

namespace kelvo::gui {

namespace {

using TapeAction = ErrorCode (*)(const TapeContext&, const std::string&);

// Shows the wait cursor while it lives.
class CWaitCursor {
 public:
  CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// "Select Tape Drive"; the chosen drive, or empty after Cancel.
QString AskForDrive(const ShellHost& host) {
  ShellContext& ctx = host.ctx;
  if (!AskForTapeDrive(ctx, TapeDriveNames(host.devices), host.parent)) return {};
  return Q(ctx.app.SelectedTapeName);
}

// Initialise, Erase, Load and Unload: the tape's window (if open) comes to
// the front and is disabled while the command runs; a failure is reported
// with a retry where its message offers one; on success the window's list is
// emptied (what was on the tape may be gone).
void RunTapeAction(const ShellHost& host, TapeAction action, bool shows_open_failure) {
  const QString name = AskForDrive(host);
  if (name.isEmpty()) return;
  ShellContext& ctx = host.ctx;
  const TapeContext tc = MakeTapeContext(ctx);
  QPointer<CChildFrameWindow> window = host.windows.FindPlaceWindow(name);
  if (window && window->Kind() != PlaceKind::Tape) window = nullptr;
  if (window) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
      host.windows.MdiArea()->setActiveSubWindow(sub);
    window->SetCommandRunning(true);
  }
  ErrorCode rc = 0;
  for (;;) {
    {
      CWaitCursor wait;
      rc = action(tc, S(name));
    }
    if (rc == 0 || rc == 1110) break;  // a changed tape is ready, not a failure
    // The erase has already said that the drive could not be opened.
    if (shows_open_failure && rc == ERR_TAPE_OPEN) break;
    if (ctx.ui->ReportError(rc) != Button::Retry) break;
  }
  if (window) {
    if (rc == 0 || rc == 1110) window->ClearList();
    window->SetCommandRunning(false);
  }
}

// Rewind and Retension act on the active tape window's drive, or ask for
// one; their result is not reported.
void RunPositioning(const ShellHost& host, TapeAction action, bool ask_without_explorer) {
  CChildFrameWindow* ex = host.windows.ActiveExplorer();
  QString name;
  if (ex && ex->Kind() == PlaceKind::Tape) {
    name = ex->PlaceText();
  } else if (ex || ask_without_explorer) {
    name = AskForDrive(host);
  }
  if (name.isEmpty()) return;
  const TapeContext tc = MakeTapeContext(host.ctx);
  CWaitCursor wait;
  action(tc, S(name));
}

void ShowDriveInformation(const ShellHost& host) {
  ShellContext& ctx = host.ctx;
  // The last choice stands when the user cancels the drive question.
  AskForTapeDrive(ctx, TapeDriveNames(host.devices), host.parent);
  const TapeContext tc = MakeTapeContext(ctx);
  const TapeDriveInfo info = GetTapeDriveInfo(tc, ctx.app.SelectedTapeName);
  CTapeDriveInfoDlg dialog(info, host.parent);
  dialog.exec();
}

// Runs a checked restore request with the progress window of its format.
ErrorCode RunRestore(const ShellHost& host, const TapeRestoreRequest& request) {
  ShellContext& ctx = host.ctx;
  const TapeContext tc = MakeTapeContext(ctx);
  switch (request.format) {
    case TapeFormat::Qva: {
      CQvaRestoreDlg window(ctx.app.TapeBusy, host.parent);
      CRestoreProgressModel unused(ctx.app.TapeBusy);  // the labelled restore's, not run here
      TapeRestoreRun run{unused, window};
      return RunTapeRestoreRequest(tc, request, ctx.settings, run);
    }
    case TapeFormat::Labelled: {
      CRestoreProgressDlg window(ctx.app.TapeBusy, host.parent);
      CQvaRestoreModel unused(ctx.app.TapeBusy);  // the QVA restore's, not run here
      TapeRestoreRun run{window, unused};
      return RunTapeRestoreRequest(tc, request, ctx.settings, run);
    }
    case TapeFormat::Unlabelled:
      break;
  }
  return 0;
}

}  // namespace

void CTapeCommands::RunTapeCommand(Cmd cmd) {
  switch (cmd) {
    case Cmd::TapeList: {
      if (CChildFrameWindow* ex = host_.windows.ActiveExplorer(); ex && ex->Kind() == PlaceKind::Tape) {
        ex->Refresh();
        break;
      }
      const QString name = AskForDrive(host_);
      for (const PresentDevice& d : host_.devices)
        if (d.tape && !name.isEmpty() && d.name.compare(name, Qt::CaseInsensitive) == 0)
          OpenTapeWindow(host_.windows, d.name);
      break;
    }
    case Cmd::TapeRestore: {
      CTapeRestoreDlg dialog(host_.ctx, TapeDriveNames(host_.devices),
                             [this](const TapeRestoreRequest& r) { return RunRestore(host_, r); },
                             host_.parent);
      dialog.exec();
      break;
    }
    case Cmd::TapeInit: RunTapeAction(host_, InitialiseTape, false); break;
    case Cmd::TapeErase: RunTapeAction(host_, EraseTapeMedia, true); break;
    case Cmd::TapeLoad: RunTapeAction(host_, LoadTape, false); break;
    case Cmd::TapeUnload: RunTapeAction(host_, UnloadTape, false); break;
    case Cmd::TapeRewind: RunPositioning(host_, RewindTape, false); break;
    case Cmd::TapeRetension: RunPositioning(host_, RetensionTape, true); break;
    case Cmd::TapeSaveImage: RunTapeImaging(host_, true); break;
    case Cmd::TapeWriteImage: RunTapeImaging(host_, false); break;
    case Cmd::TapeDriveInfo: ShowDriveInformation(host_); break;
    default: break;
  }
}

}  // namespace kelvo::gui
