// The Tape menu: listing, restoring, the single-action tape commands and the
// drive information, each with the handling of the tape's explorer window.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "gui/windows/child_frame_window.h"
#include "gui/shell/main_frame.h"
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
QString AskForDrive(CMainFrame& frame) {
  ShellContext& ctx = frame.Context();
  if (!AskForTapeDrive(ctx, TapeDriveNames(frame.Devices()), &frame)) return {};
  return Q(ctx.app.SelectedTapeName);
}

// Initialise, Erase, Load and Unload: the tape's window (if open) comes to
// the front and is disabled while the command runs; a failure is reported
// with a retry where its message offers one; on success the window's list is
// emptied (what was on the tape may be gone).
void RunTapeAction(CMainFrame& frame, TapeAction action, bool shows_open_failure) {
  const QString name = AskForDrive(frame);
  if (name.isEmpty()) return;
  ShellContext& ctx = frame.Context();
  const TapeContext tc = MakeTapeContext(ctx);
  QPointer<CChildFrameWindow> window = frame.FindPlaceWindow(name);
  if (window && window->Kind() != PlaceKind::Tape) window = nullptr;
  if (window) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
      frame.MdiArea()->setActiveSubWindow(sub);
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
void RunPositioning(CMainFrame& frame, TapeAction action, bool ask_without_explorer) {
  CChildFrameWindow* ex = frame.ActiveExplorer();
  QString name;
  if (ex && ex->Kind() == PlaceKind::Tape) {
    name = ex->PlaceText();
  } else if (ex || ask_without_explorer) {
    name = AskForDrive(frame);
  }
  if (name.isEmpty()) return;
  const TapeContext tc = MakeTapeContext(frame.Context());
  CWaitCursor wait;
  action(tc, S(name));
}

void ShowDriveInformation(CMainFrame& frame) {
  ShellContext& ctx = frame.Context();
  // The last choice stands when the user cancels the drive question.
  AskForTapeDrive(ctx, TapeDriveNames(frame.Devices()), &frame);
  const TapeContext tc = MakeTapeContext(ctx);
  const TapeDriveInfo info = GetTapeDriveInfo(tc, ctx.app.SelectedTapeName);
  CTapeDriveInfoDlg dialog(info, &frame);
  dialog.exec();
}

// Runs a checked restore request with the progress window of its format.
ErrorCode RunRestore(CMainFrame& frame, const TapeRestoreRequest& request) {
  ShellContext& ctx = frame.Context();
  const TapeContext tc = MakeTapeContext(ctx);
  switch (request.format) {
    case TapeFormat::Qva: {
      CQvaRestoreDlg window(ctx.app.TapeBusy, &frame);
      CRestoreProgressModel unused(ctx.app.TapeBusy);  // the labelled restore's, not run here
      TapeRestoreRun run{unused, window};
      return RunTapeRestoreRequest(tc, request, ctx.settings, run);
    }
    case TapeFormat::Labelled: {
      CRestoreProgressDlg window(ctx.app.TapeBusy, &frame);
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

void CMainFrame::RunTapeCommand(Cmd cmd) {
  switch (cmd) {
    case Cmd::TapeList: {
      if (CChildFrameWindow* ex = ActiveExplorer(); ex && ex->Kind() == PlaceKind::Tape) {
        ex->Refresh();
        break;
      }
      const QString name = AskForDrive(*this);
      for (const PresentDevice& d : devices_)
        if (d.tape && !name.isEmpty() && d.name.compare(name, Qt::CaseInsensitive) == 0)
          OpenDeviceWindow(d);
      break;
    }
    case Cmd::TapeRestore: {
      CTapeRestoreDlg dialog(ctx_, TapeDriveNames(devices_),
                             [this](const TapeRestoreRequest& r) { return RunRestore(*this, r); },
                             this);
      dialog.exec();
      break;
    }
    case Cmd::TapeInit: RunTapeAction(*this, InitialiseTape, false); break;
    case Cmd::TapeErase: RunTapeAction(*this, EraseTapeMedia, true); break;
    case Cmd::TapeLoad: RunTapeAction(*this, LoadTape, false); break;
    case Cmd::TapeUnload: RunTapeAction(*this, UnloadTape, false); break;
    case Cmd::TapeRewind: RunPositioning(*this, RewindTape, false); break;
    case Cmd::TapeRetension: RunPositioning(*this, RetensionTape, true); break;
    case Cmd::TapeSaveImage: RunTapeImaging(*this, true); break;
    case Cmd::TapeWriteImage: RunTapeImaging(*this, false); break;
    case Cmd::TapeDriveInfo: ShowDriveInformation(*this); break;
    default: break;
  }
}

}  // namespace kelvo::gui
