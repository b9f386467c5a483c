// kdu's Interaction: questions are asked on the terminal; without a terminal
// every question is answered No/Cancel, or Yes/OK with --yes. A Retry/Cancel
// or Abort/Retry/Ignore question is never answered Retry automatically, so an
// unattended run cannot loop on a failing device.
#pragma once

#include <cstdio>

#include "core/interaction.h"

namespace kelvo::cli {

class CTerminalInteraction : public Interaction {
 public:
  explicit CTerminalInteraction(bool yes);

  Button Ask(const std::string& text, const std::string& title, Buttons buttons,
             Icon icon) override;
  void Beep(BeepKind) override {}
  void PumpMessages() override {}

  // A Retry/Cancel question (a device error) was answered Cancel: the work
  // it asked about was not done, whatever the operation returns.
  bool DeclinedRetry() const { return declined_retry_; }

 private:
  Button Answer(const std::string& text, const std::string& title, Buttons buttons, Icon icon);
  Button Automatic(Buttons buttons) const;
  bool yes_;
  std::FILE* tty_ = nullptr;
  bool declined_retry_ = false;
};

}  // namespace kelvo::cli
