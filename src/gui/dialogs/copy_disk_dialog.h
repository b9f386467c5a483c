// The Copy Disk dialog: a whole printer disk copied from a drive or an image
// file to a drive or an image file. While the copy runs the inputs are
// disabled and Close reads "&Stop"; afterwards it reads "&Cancel" and the
// status line tells how the copy ended.
#pragma once

#include <functional>
#include <vector>

#include "diskfs/disk_progress.h"
#include "gui/windows/device_list.h"
#include "gui/dialogs/disk_progress_dialog.h"
#include "gui/shell/shell_context.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kelvo::gui {

class CCopyDiskDlg final : public CDiskProgressDlg, public CDiskProgress {
  Q_OBJECT
 public:
  // One side of the dialog: "Drive:" with the floppy drives or "File:" with
  // a path and "Browse...".
  struct Side {
    QRadioButton* use_drive;
    QComboBox* drive;
    QRadioButton* use_file;
    QLineEdit* file;
    QPushButton* browse;
  };

  // `refresh_drive` re-reads the open window of a drive a copy wrote to.
  CCopyDiskDlg(ShellContext& ctx, std::vector<PresentDevice> floppies,
                  std::function<void(const QString& drive)> refresh_drive,
                  QWidget* parent = nullptr);

  const Side& Source() const { return source_; }
  const Side& Destination() const { return destination_; }
  // Copies with the dialog's settings (the Copy button); the result of the
  // copy (kDiskCopyStopped when stopped).
  ErrorCode Copy();
  QPushButton* StopButton() const { return close_; }
  QPushButton* CopyButton() const { return copy_; }

  // CDiskProgress
  void SetStatus(const std::string& text) override { ShowStatus(text); }
  void SetRange(int low, int high) override { ShowRange(low, high); }
  void SetPos(int pos) override { ShowPos(pos); }
  bool StopRequested() override { return StopPressed(); }

 protected:
  void ShowRunning(bool running) override;

 private:
  Side MakeSide(const QString& title, bool source, QWidget** group);
  void Browse(bool source);
  const PresentDevice* DriveOf(const Side& side) const;

  ShellContext& ctx_;
  std::vector<PresentDevice> floppies_;
  std::function<void(const QString&)> refresh_drive_;
  Side source_;
  Side destination_;
  QWidget* source_group_;
  QWidget* destination_group_;
  QPushButton* copy_;
  QPushButton* close_;
};

}  // namespace kelvo::gui
