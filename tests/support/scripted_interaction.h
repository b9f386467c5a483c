// An Interaction that records every call and answers from a queue, so tests
// can check messages, buttons and retry loops.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/interaction.h"

namespace kelvo::test {

struct AskCall {
  std::string text;
  std::string title;
  Buttons buttons;
  Icon icon;
};

class ScriptedInteraction : public Interaction {
 public:
  // Answers given to Ask in order; when the queue is empty the answer is
  // `default_answer` (Cancel unless changed).
  std::deque<Button> answers;
  Button default_answer = Button::Cancel;

  std::vector<AskCall> asks;
  std::vector<BeepKind> beeps;
  int pumps = 0;
  // Run at each PumpMessages: what the user does while work goes on.
  std::function<void()> on_pump;
  // Run with the text of every question before it is answered (swap a
  // disk, lift write protection ...).
  std::function<void(const std::string&)> on_ask;

  Button Ask(const std::string& text, const std::string& title, Buttons buttons,
             Icon icon) override {
    if (on_ask) on_ask(text);
    asks.push_back({text, title, buttons, icon});
    if (answers.empty()) return default_answer;
    Button b = answers.front();
    answers.pop_front();
    return b;
  }
  void Beep(BeepKind kind) override { beeps.push_back(kind); }
  void PumpMessages() override {
    ++pumps;
    if (on_pump) on_pump();
  }

  // The texts of every question asked, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const AskCall& a : asks) out.push_back(a.text);
    return out;
  }
};

}  // namespace kelvo::test
