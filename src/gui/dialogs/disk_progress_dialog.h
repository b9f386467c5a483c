// What the Format and Copy Disk dialogs share: a status line and a progress
// bar the engine moves, and one button that stops the running operation
// (Cancel, Stop, Esc, the close box) and otherwise closes the dialog.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QProgressBar;

namespace kelvo::gui {

class CDiskProgressDlg : public QDialog {
  Q_OBJECT
 public:
  // Stops a running operation (it ends at its next step); otherwise closes.
  void reject() override;
  bool Running() const { return running_; }
  QString StatusText() const;
  QProgressBar* Progress() const { return progress_; }

 Q_SIGNALS:
  // The progress bar moved (each cylinder or step).
  void progressMoved(int pos);

 protected:
  explicit CDiskProgressDlg(QWidget* parent);
  QLabel* StatusLine() const { return status_; }
  // The engine's calls through the progress sink.
  void ShowStatus(const std::string& text);
  void ShowRange(int low, int high);
  void ShowPos(int pos);
  bool StopPressed() const { return running_ && stop_pressed_; }
  // Marks the operation running (or ended) and lets the dialog show it.
  void SetRunning(bool running);
  virtual void ShowRunning(bool running) = 0;
  void closeEvent(QCloseEvent* e) override;

 private:
  QLabel* status_;
  QProgressBar* progress_;
  bool running_ = false;
  bool stop_pressed_ = false;
};

}  // namespace kelvo::gui
