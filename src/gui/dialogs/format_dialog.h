// The Format dialog: a drive and capacity, quick (erase) or full, the disk
// ID, and Start; while a format runs the progress bar and status line move
// and Close reads "Cancel".
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

class CFormatDlg final : public CDiskProgressDlg, public CFormatProgress {
  Q_OBJECT
 public:
  // What the dialog asks of the main window: the disk ID shown for a drive
  // in an open window (null when none shows it), and refreshing the open
  // window of a drive after a format.
  struct Hooks {
    std::function<QString(const QString& drive)> shown_disk_id;
    std::function<void(const QString& drive)> refresh_drive;
  };

  CFormatDlg(ShellContext& ctx, std::vector<PresentDevice> floppies, Hooks hooks,
                QWidget* parent = nullptr);

  // Selects the drive named `drive` ("A:") when it is in the list.
  void SelectDrive(const QString& drive);
  // Starts a format with the dialog's settings (the Start button).
  void Start();
  bool Formatting() const { return Running(); }
  MediaKind SelectedMedia() const { return media_; }

  // CFormatProgress: the engine's view of the window.
  void SetStatus(const std::string& text) override { ShowStatus(text); }
  void SetRange(int low, int high) override { ShowRange(low, high); }
  void SetPos(int pos) override { ShowPos(pos); }
  bool StopRequested() override { return StopPressed(); }
  void ShowCapacity(MediaKind code) override;
  void ShowFullMode() override;

 protected:
  void ShowRunning(bool running) override;

 private:
  const PresentDevice* CurrentDrive() const;
  void OnDriveChanged();
  void OnCapacityChanged();
  void UpdateStartEnabled();

  ShellContext& ctx_;
  std::vector<PresentDevice> floppies_;
  Hooks hooks_;
  QComboBox* drive_;
  QComboBox* capacity_;
  QLineEdit* disk_id_;
  QRadioButton* quick_;
  QRadioButton* full_;
  QPushButton* start_;
  QPushButton* close_;
  MediaKind media_ = MediaKind::Unknown;
};

}  // namespace kelvo::gui
