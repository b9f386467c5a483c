// The tape progress window's contract: what a labelled tape write or restore
// shows while it works, and its Abort/Close button.
//
// CTapeProgressSink is what the operations call. CRestoreProgressModel holds
// the window's fields exactly as the window shows them and the logic of its
// one button; a desktop window shows a model, the command line draws its own
// bar, and the tests read the model.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace kelvo {

// What both tape progress windows (labelled tapes and QVA restores) offer:
// the shared fields, the progress bar, the clock and the Abort/Close button.
class CProgressWindowSink {
 public:
  virtual ~CProgressWindowSink() = default;
  virtual void SetOutputDirectory(const std::string& text) = 0;
  virtual void SetStatus(const std::string& text) = 0;
  virtual void SetCurrentFile(const std::string& text) = 0;
  virtual void SetProgress(int percent) = 0;  // 0 to 100
  virtual void StartClock() = 0;
  // Stops the elapsed-time clock; the button now reads "Close".
  virtual void StopClock() = 0;
  // The abort request, set by the button while the tape work runs.
  virtual bool AbortRequested() const = 0;
  virtual void ClearAbortRequest() = 0;
  // Returns once the user has closed the window (at once where there is no
  // window to close).
  virtual void WaitForClose() = 0;
};

class CTapeProgressSink : public CProgressWindowSink {
 public:
  virtual void SetTitle(const std::string& text) = 0;
  virtual void SetSource(const std::string& text) = 0;
  virtual void SetCounterLabel(const std::string& text) = 0;
  virtual void SetCounter(const std::string& text) = 0;
};

// The fields and button of the progress window.
class CRestoreProgressModel : public CTapeProgressSink {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // `tape_busy` is the program's TapeBusy flag, which tells the button an
  // abort from a close; `clock` gives the time for the elapsed-time field.
  explicit CRestoreProgressModel(const bool& tape_busy, Clock clock = nullptr);

  void SetTitle(const std::string& text) override { title_ = text; }
  void SetSource(const std::string& text) override { source_ = " " + text; }
  void SetOutputDirectory(const std::string& text) override { output_directory_ = " " + text; }
  void SetStatus(const std::string& text) override { status_ = " " + text; }
  void SetCounterLabel(const std::string& text) override { counter_label_ = text; }
  void SetCounter(const std::string& text) override { counter_ = " " + text; }
  void SetCurrentFile(const std::string& text) override { current_file_ = text; }
  void SetProgress(int percent) override;
  void StartClock() override;
  void StopClock() override;
  bool AbortRequested() const override { return abort_requested_; }
  void ClearAbortRequest() override { abort_requested_ = false; }
  void WaitForClose() override {}

  // The button (or the window's close request).
  void PressButton();
  // Refreshes the elapsed-time field, as the one-second timer does.
  void Tick();

  const std::string& Title() const { return title_; }
  const std::string& Source() const { return source_; }
  const std::string& OutputDirectory() const { return output_directory_; }
  const std::string& Status() const { return status_; }
  const std::string& CounterLabel() const { return counter_label_; }
  const std::string& Counter() const { return counter_; }
  const std::string& CurrentFile() const { return current_file_; }
  const std::string& ElapsedTime() const { return elapsed_; }
  const std::string& ButtonText() const { return button_; }
  int Progress() const { return progress_; }
  bool IsOpen() const { return open_; }
  bool ClockRunning() const { return clock_running_; }

 private:
  const bool& tape_busy_;
  Clock clock_;
  std::string title_;
  std::string source_;
  std::string output_directory_;
  std::string status_;
  std::string counter_label_ = "Files Restored:";
  std::string counter_ = " 0";
  std::string current_file_;
  std::string elapsed_ = "0h:00m:00s";
  std::string button_ = "Abort";
  int progress_ = 0;
  bool abort_requested_ = false;
  bool open_ = true;
  bool clock_running_ = false;
  std::chrono::steady_clock::time_point start_{};
};

// The elapsed-time text for `seconds`: " %01dh:%02dm:%02ds".
std::string FormatElapsedTime(long long seconds);

}  // namespace kelvo
