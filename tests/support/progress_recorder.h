// Progress windows that record what an operation showed them, and can press
// their button when a chosen step happens (as a user would during the work).
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "diskfs/disk_progress.h"
#include "tape/qva_progress.h"
#include "tape/tape_progress.h"

namespace kelvo::test {

// Over a tape or QVA restore model (CRestoreProgressModel, CQvaRestoreModel).
template <class Model>
class ProgressRecorder : public Model {
 public:
  explicit ProgressRecorder(const bool& busy) : Model(busy) {}

  std::vector<std::string> statuses;
  std::vector<std::string> files;
  std::vector<std::string> folders;
  int waited = 0;
  // Called after each SetCurrentFile and SetProgress; may press the button.
  std::function<void(ProgressRecorder&)> on_step;

  void SetStatus(const std::string& text) override {
    statuses.push_back(text);
    Model::SetStatus(text);
  }
  void SetOutputDirectory(const std::string& text) override {
    folders.push_back(text);
    Model::SetOutputDirectory(text);
  }
  void SetCurrentFile(const std::string& text) override {
    if (!text.empty()) files.push_back(text);
    Model::SetCurrentFile(text);
    if (on_step) on_step(*this);
  }
  void SetProgress(int percent) override {
    Model::SetProgress(percent);
    if (on_step) on_step(*this);
  }
  void WaitForClose() override {
    ++waited;
    this->PressButton();
  }
  bool Saw(const std::string& status) const {
    return std::find(statuses.begin(), statuses.end(), status) != statuses.end();
  }
};

using RecordingTapeProgress = ProgressRecorder<CRestoreProgressModel>;

using RecordingQvaProgress = ProgressRecorder<CQvaRestoreModel>;

// The floppy format and copy progress window.
class RecordingProgress : public CFormatProgress {
 public:
  std::vector<std::string> statuses;
  std::vector<int> positions;
  std::vector<MediaKind> capacities;
  bool full_mode_shown = false;
  // StopRequested answers true once this position has been shown (-1: never).
  int stop_at = -1;

  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void SetRange(int, int) override {}
  void SetPos(int pos) override { positions.push_back(pos); }
  bool StopRequested() override {
    return stop_at >= 0 && !positions.empty() && positions.back() >= stop_at;
  }
  void ShowCapacity(MediaKind code) override { capacities.push_back(code); }
  void ShowFullMode() override { full_mode_shown = true; }
  bool Saw(const std::string& status) const {
    return std::find(statuses.begin(), statuses.end(), status) != statuses.end();
  }
};

}  // namespace kelvo::test
