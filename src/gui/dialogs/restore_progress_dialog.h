// CRestoreProgressDlg: the modeless window a labelled tape write or restore
// shows while it works. Its fields, its one Abort/Close button and its
// elapsed-time text follow CRestoreProgressModel; this window only shows the
// model and forwards the button, the close request and the one-second timer.
#pragma once

#include <QDialog>
#include <QString>

#include "tape/tape_progress.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QEventLoop;

namespace kelvo::gui {

class CRestoreProgressDlg final : public QDialog, public CTapeProgressSink {
  Q_OBJECT
 public:
  using Clock = CRestoreProgressModel::Clock;

  // `tape_busy` is the program's TapeBusy flag (AppState::TapeBusy): while
  // it is set the button aborts, afterwards it closes. `clock` replaces the
  // steady clock of the elapsed time (tests). The window is created hidden
  // and shows itself, centred on its parent, when the operation gives it
  // its title.
  explicit CRestoreProgressDlg(const bool& tape_busy, QWidget* parent = nullptr,
                               Clock clock = nullptr);
  ~CRestoreProgressDlg() override;

  void SetTitle(const std::string& text) override;
  void SetSource(const std::string& text) override;
  void SetOutputDirectory(const std::string& text) override;
  void SetStatus(const std::string& text) override;
  void SetCounterLabel(const std::string& text) override;
  void SetCounter(const std::string& text) override;
  void SetCurrentFile(const std::string& text) override;
  void SetProgress(int percent) override;
  void StartClock() override;
  void StopClock() override;
  bool AbortRequested() const override { return model_.AbortRequested(); }
  void ClearAbortRequest() override { model_.ClearAbortRequest(); }
  // Handles events until the user has pressed "Close" (or closed the
  // window); returns at once when the window was never shown.
  void WaitForClose() override;

  // The progress-dialog-open flag: set when the window is shown, cleared by
  // the button once the tape work has ended.
  bool IsOpen() const { return shown_ && model_.IsOpen(); }
  // Whether an operation has shown the window (it ran its tape work).
  bool WasShown() const { return shown_; }
  const CRestoreProgressModel& Model() const { return model_; }
  QPushButton* Button() const { return button_; }
  // The texts the fields show (the output directory in full).
  QString SourceText() const;
  QString OutputDirectoryText() const;
  QString StatusText() const;
  QString CounterLabelText() const;
  QString CounterText() const;
  QString ElapsedTimeText() const;
  QString CurrentFileText() const;
  int ProgressValue() const;
  // One tick of the elapsed-time timer.
  void Tick();

 protected:
  void reject() override;  // Esc
  void closeEvent(QCloseEvent* e) override;

 private:
  void PressButton();
  void ShowModel();
  void EnsureShown();

  CRestoreProgressModel model_;
  QLabel* source_;
  QLabel* output_directory_;
  QLabel* status_;
  QLabel* counter_label_;
  QLabel* counter_;
  QLabel* elapsed_;
  QLabel* current_file_;
  QProgressBar* progress_;
  QPushButton* button_;
  QTimer* timer_;
  QEventLoop* wait_loop_ = nullptr;
  bool shown_ = false;
};

}  // namespace kelvo::gui
