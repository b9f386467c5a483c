// kdu's Interaction: questions are asked on the terminal; without a terminal
// every question is answered No/Cancel, or Yes/OK with --yes. A Retry/Cancel
// or Abort/Retry/Ignore question is never answered Retry automatically, so an
// unattended run cannot loop on a failing device.
#pragma once

#include <cstdio>

#include "core/interaction.h"

namespace kelvo::cli {

class TerminalInteraction : public Interaction {
 public:
  explicit TerminalInteraction(bool yes);

  Button Ask(const std::string& text, const std::string& title, Buttons buttons,
             Icon icon) override;
  void Beep(BeepKind) override {}
  void PumpMessages() override {}

 private:
  Button Automatic(Buttons buttons) const;
  bool yes_;
  std::FILE* tty_ = nullptr;
};

}  // namespace kelvo::cli
