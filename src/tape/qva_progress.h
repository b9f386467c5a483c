// The QVA restore's progress window: what a QVA tape restore shows while it
// works, and its Abort/Close button.
//
// CQvaProgressSink is what RestoreQvaTape calls. CQvaRestoreModel holds the
// window's fields exactly as the window shows them and the logic of its one
// button; the desktop window shows a model, the command line draws its own
// line, and the tests read the model.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace kelvo {

class CQvaProgressSink {
 public:
  virtual ~CQvaProgressSink() = default;
  virtual void SetSystemId(const std::string& text) = 0;
  virtual void SetOutputDirectory(const std::string& text) = 0;
  virtual void SetCurrentFile(const std::string& text) = 0;
  virtual void SetFilesRestored(const std::string& text) = 0;
  virtual void SetStatus(const std::string& text) = 0;
  virtual void SetCurrentDiskUnit(const std::string& text) = 0;
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

// The fields and button of the "Restore From QVA" window.
class CQvaRestoreModel : public CQvaProgressSink {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // `tape_busy` is the program's TapeBusy flag, which tells the button an
  // abort from a close; `clock` gives the time for the elapsed-time field.
  explicit CQvaRestoreModel(const bool& tape_busy, Clock clock = nullptr);

  void SetSystemId(const std::string& text) override { system_id_ = " " + text; }
  void SetOutputDirectory(const std::string& text) override { output_directory_ = " " + text; }
  void SetCurrentFile(const std::string& text) override { current_file_ = text; }
  void SetFilesRestored(const std::string& text) override { files_restored_ = " " + text; }
  void SetStatus(const std::string& text) override { status_ = " " + text; }
  void SetCurrentDiskUnit(const std::string& text) override { disk_unit_ = " " + text; }
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

  static constexpr const char* kTitle = "Restore From QVA";

  const std::string& SystemId() const { return system_id_; }
  const std::string& OutputDirectory() const { return output_directory_; }
  const std::string& CurrentFile() const { return current_file_; }
  const std::string& FilesRestored() const { return files_restored_; }
  const std::string& Status() const { return status_; }
  const std::string& CurrentDiskUnit() const { return disk_unit_; }
  const std::string& ElapsedTime() const { return elapsed_; }
  const std::string& ButtonText() const { return button_; }
  int Progress() const { return progress_; }
  bool IsOpen() const { return open_; }
  bool ClockRunning() const { return clock_running_; }

 private:
  const bool& tape_busy_;
  Clock clock_;
  std::string system_id_;
  std::string output_directory_;
  std::string current_file_;
  std::string files_restored_ = " 0";
  std::string status_;
  std::string disk_unit_;
  std::string elapsed_ = " 0h:00m:00s";
  std::string button_ = "Abort";
  int progress_ = 0;
  bool abort_requested_ = false;
  bool open_ = true;
  bool clock_running_ = false;
  std::chrono::steady_clock::time_point start_{};
};

}  // namespace kelvo
