// The progress windows of the whole-disk operations (Format, Copy Disk):
// a status line, a progress bar and a Stop/Cancel button. The dialogs
// implement these; the engine only calls them.
#pragma once

#include <string>

#include <optional>

#include "core/interaction.h"
#include "media/floppy_drive.h"
#include "media/media_kind.h"

namespace kelvo {

class CDiskProgress {
 public:
  virtual ~CDiskProgress() = default;
  virtual void SetStatus(const std::string& text) = 0;
  virtual void SetRange(int low, int high) = 0;
  virtual void SetPos(int pos) = 0;
  // True once the user has pressed Stop or Cancel.
  virtual bool StopRequested() = 0;
};

// The Format dialog's window: a quick format changes the capacity shown to
// match the disk, and switches to full mode when the user agrees to format
// a disk that is not a printer disk.
class CFormatProgress : public CDiskProgress {
 public:
  virtual void ShowCapacity(MediaKind /*code*/) {}
  virtual void ShowFullMode() {}
};

// Runs `step` until it succeeds or the user declines to retry: a failure is
// shown through ReportError and repeated while the answer is Retry. Returns
// 0 or the failure the user gave up on.
template <typename Step>
ErrorCode RetryWhileAsked(Interaction& ui, Step step) {
  for (;;) {
    ErrorCode rc = step();
    if (rc == ERR_OK) return ERR_OK;
    if (ui.ReportError(rc) != Button::Retry) return rc;
  }
}

// Opens and locks `drive` into `session`, repeating while the user answers
// Retry to a failure.
inline ErrorCode OpenFloppyWithRetry(CFloppyDrive& drive, Interaction& ui,
                                     std::optional<CFloppySession>& session,
                                     bool for_format = false) {
  return RetryWhileAsked(ui, [&] {
    session.reset();
    session.emplace(drive, for_format);
    return session->Status();
  });
}

}  // namespace kelvo
