// CQvaRestoreDlg: the "Restore From QVA" progress window of a QVA tape
// restore. It shows a CQvaRestoreModel (the fields and the button logic live
// there) and is the sink the restore reports to. Its one button, the window's
// close request and Esc all act as that button: while the tape work runs they
// ask it to abort; afterwards they close the window.
#pragma once

#include <QDialog>

#include "tape/qva_progress.h"

class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kelvo::gui {

class CQvaRestoreDlg : public QDialog, public CQvaProgressSink {
  Q_OBJECT
 public:
  // `tape_busy` is the program's TapeBusy flag.
  explicit CQvaRestoreDlg(const bool& tape_busy, QWidget* parent = nullptr);
  ~CQvaRestoreDlg() override;

  void SetSystemId(const std::string& text) override;
  void SetOutputDirectory(const std::string& text) override;
  void SetCurrentFile(const std::string& text) override;
  void SetFilesRestored(const std::string& text) override;
  void SetStatus(const std::string& text) override;
  void SetCurrentDiskUnit(const std::string& text) override;
  void SetProgress(int percent) override;
  void StartClock() override;
  void StopClock() override;
  bool AbortRequested() const override { return model_.AbortRequested(); }
  void ClearAbortRequest() override { model_.ClearAbortRequest(); }
  // Waits, serving events, until the user has closed the window.
  void WaitForClose() override;

  const CQvaRestoreModel& Model() const { return model_; }
  QPushButton* Button() const { return button_; }
  QProgressBar* CProgressBar() const { return progress_; }
  // The text a field shows: "system_id", "output_directory", "current_file",
  // "files_restored", "status", "disk_unit", "elapsed".
  QString FieldText(const char* field) const;

  void reject() override;  // Esc

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void PressButton();
  // Shows the window (on first use) and the model's fields.
  void Show();
  void EnsureShown();
  void Refresh();
  QLabel* AddField(QGridLayout* grid, int row, const QString& label, const char* name);

  CQvaRestoreModel model_;
  QLabel* system_id_;
  QLabel* output_directory_;
  QLabel* current_file_;
  QLabel* files_restored_;
  QLabel* status_;
  QLabel* disk_unit_;
  QLabel* elapsed_;
  QProgressBar* progress_;
  QPushButton* button_;
  QTimer* clock_;
  bool used_ = false;
};

}  // namespace kelvo::gui
