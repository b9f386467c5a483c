// Test doubles for the floppy operations: a progress window that records
// what it is shown, and an interaction that can act when a question comes
// (swap a disk, lift write protection).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "diskfs/disk_progress.h"
#include "support/scripted_interaction.h"

namespace kelvo::test {

class RecordingProgress : public CFormatProgress {
 public:
  std::vector<std::string> statuses;
  std::vector<std::pair<int, int>> ranges;
  std::vector<int> positions;
  std::vector<MediaKind> capacities;
  bool full_mode_shown = false;
  // StopRequested answers true once this position has been shown (-1: never).
  int stop_at = -1;

  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void SetRange(int low, int high) override { ranges.emplace_back(low, high); }
  void SetPos(int pos) override { positions.push_back(pos); }
  bool StopRequested() override {
    return stop_at >= 0 && !positions.empty() && positions.back() >= stop_at;
  }
  void ShowCapacity(MediaKind code) override { capacities.push_back(code); }
  void ShowFullMode() override { full_mode_shown = true; }

  bool Saw(const std::string& status) const {
    for (const std::string& s : statuses) {
      if (s == status) return true;
    }
    return false;
  }
};

class HookedInteraction : public ScriptedInteraction {
 public:
  // Called with the text of every question before it is answered.
  std::function<void(const std::string&)> on_ask;

  Button Ask(const std::string& text, const std::string& title, Buttons buttons,
             Icon icon) override {
    if (on_ask) on_ask(text);
    return ScriptedInteraction::Ask(text, title, buttons, icon);
  }
};

}  // namespace kelvo::test
