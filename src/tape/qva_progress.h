// The QVA restore's progress window: what a QVA tape restore shows while it
// works, and its Abort/Close button.
//
// CQvaProgressSink is what RestoreQvaTape calls. CQvaRestoreModel holds the
// window's fields exactly as the window shows them and the logic of its one
// button; the desktop window shows a model, the command line draws its own
// line, and the tests read the model.
#pragma once

#include <string>

#include "tape/tape_progress.h"

namespace kelvo {

class CQvaProgressSink : public CProgressWindowSink {
 public:
  virtual void SetSystemId(const std::string& text) = 0;
  virtual void SetFilesRestored(const std::string& text) = 0;
  virtual void SetCurrentDiskUnit(const std::string& text) = 0;
};

// The fields and button of the "Restore From QVA" window. The button, the
// clock, the progress bar and the fields it shares with the tape progress
// window follow that window's model.
class CQvaRestoreModel : public CQvaProgressSink {
 public:
  using Clock = CRestoreProgressModel::Clock;

  // `tape_busy` is the program's TapeBusy flag, which tells the button an
  // abort from a close; `clock` gives the time for the elapsed-time field.
  explicit CQvaRestoreModel(const bool& tape_busy, Clock clock = nullptr)
      : window_(tape_busy, std::move(clock)) {}

  void SetSystemId(const std::string& text) override { window_.SetSource(text); }
  void SetOutputDirectory(const std::string& text) override { window_.SetOutputDirectory(text); }
  void SetCurrentFile(const std::string& text) override { window_.SetCurrentFile(text); }
  void SetFilesRestored(const std::string& text) override { window_.SetCounter(text); }
  void SetStatus(const std::string& text) override { window_.SetStatus(text); }
  void SetCurrentDiskUnit(const std::string& text) override { disk_unit_ = " " + text; }
  void SetProgress(int percent) override { window_.SetProgress(percent); }
  void StartClock() override { window_.StartClock(); }
  void StopClock() override { window_.StopClock(); }
  bool AbortRequested() const override { return window_.AbortRequested(); }
  void ClearAbortRequest() override { window_.ClearAbortRequest(); }
  void WaitForClose() override {}

  // The button (or the window's close request).
  void PressButton() { window_.PressButton(); }
  // Refreshes the elapsed-time field, as the one-second timer does.
  void Tick() { window_.Tick(); }

  static constexpr const char* kTitle = "Restore From QVA";

  const std::string& SystemId() const { return window_.Source(); }
  const std::string& OutputDirectory() const { return window_.OutputDirectory(); }
  const std::string& CurrentFile() const { return window_.CurrentFile(); }
  const std::string& FilesRestored() const { return window_.Counter(); }
  const std::string& Status() const { return window_.Status(); }
  const std::string& CurrentDiskUnit() const { return disk_unit_; }
  // " 0h:00m:00s" until the clock has run.
  std::string ElapsedTime() const;
  const std::string& ButtonText() const { return window_.ButtonText(); }
  int Progress() const { return window_.Progress(); }
  bool IsOpen() const { return window_.IsOpen(); }
  bool ClockRunning() const { return window_.ClockRunning(); }

 private:
  CRestoreProgressModel window_;
  std::string disk_unit_;
};

}  // namespace kelvo
