// Interaction and progress windows that show nothing, for the benchmarks.
#pragma once

#include <string>

#include "core/interaction.h"
#include "tape/tape_progress.h"

namespace kelvo::bench {

// Answers every question with `answer`; no beeps, no messages to pump.
class SilentInteraction : public Interaction {
 public:
  explicit SilentInteraction(Button answer) : answer_(answer) {}
  Button Ask(const std::string&, const std::string&, Buttons, Icon) override { return answer_; }
  void Beep(BeepKind) override {}
  void PumpMessages() override {}

 private:
  Button answer_;
};

// The fields every progress window has, shown nowhere; never aborts.
template <class Sink>
class SilentWindow : public Sink {
 public:
  void SetOutputDirectory(const std::string&) override {}
  void SetStatus(const std::string&) override {}
  void SetCurrentFile(const std::string&) override {}
  void SetProgress(int) override {}
  void StartClock() override {}
  void StopClock() override {}
  bool AbortRequested() const override { return false; }
  void ClearAbortRequest() override {}
  void WaitForClose() override {}
};

class SilentTapeProgress : public SilentWindow<CTapeProgressSink> {
 public:
  void SetTitle(const std::string&) override {}
  void SetSource(const std::string&) override {}
  void SetCounterLabel(const std::string&) override {}
  void SetCounter(const std::string&) override {}
};

}  // namespace kelvo::bench
