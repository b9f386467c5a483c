// A tape test bench: a temporary folder, a scripted user, the TapeBusy flag
// and Tape0 bound to an image file in the folder; plus a progress sink that
// records what the operation showed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/scripted_interaction.h"
#include "support/tape_builder.h"
#include "support/test_support.h"
#include "tape/tape_commands.h"
#include "tape/tape_progress.h"

namespace kelvo::test {

struct TapeBench {
  TempDir dir;
  ScriptedInteraction ui;
  bool busy = false;
  TapeContext ctx{ui, busy, {}};
  std::string tap = (dir / "tape0.tap").string();

  TapeBench() {
    ctx.bindings.device[0] = tap;
    WriteFileBytes(tap, "");
  }
  void Load(const TapeImageBuilder& b) { b.WriteTo(tap); }
  std::string TapeBytes() const { return ReadFileText(tap); }
};

// The progress model, recording every status, and able to press its button
// when a chosen event happens (as a user would during the work).
class RecordingTapeProgress : public CRestoreProgressModel {
 public:
  explicit RecordingTapeProgress(const bool& busy) : CRestoreProgressModel(busy) {}

  std::vector<std::string> statuses;
  std::vector<std::string> files;
  int waited = 0;
  // Called after each SetCurrentFile and SetProgress; may press the button.
  std::function<void(RecordingTapeProgress&)> on_step;

  void SetStatus(const std::string& text) override {
    statuses.push_back(text);
    CRestoreProgressModel::SetStatus(text);
  }
  void SetCurrentFile(const std::string& text) override {
    if (!text.empty()) files.push_back(text);
    CRestoreProgressModel::SetCurrentFile(text);
    if (on_step) on_step(*this);
  }
  void SetProgress(int percent) override {
    CRestoreProgressModel::SetProgress(percent);
    if (on_step) on_step(*this);
  }
  void WaitForClose() override {
    ++waited;
    PressButton();
  }
};

}  // namespace kelvo::test
