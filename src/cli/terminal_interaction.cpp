#include "cli/terminal_interaction.h"

#include <unistd.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace kelvo::cli {
namespace {

std::vector<std::pair<char, Button>> Choices(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return {{'o', Button::Ok}};
    case Buttons::OkCancel:
      return {{'o', Button::Ok}, {'c', Button::Cancel}};
    case Buttons::AbortRetryIgnore:
      return {{'a', Button::Abort}, {'r', Button::Retry}, {'i', Button::Ignore}};
    case Buttons::YesNoCancel:
      return {{'y', Button::Yes}, {'n', Button::No}, {'c', Button::Cancel}};
    case Buttons::YesNo:
      return {{'y', Button::Yes}, {'n', Button::No}};
    case Buttons::RetryCancel:
      return {{'r', Button::Retry}, {'c', Button::Cancel}};
  }
  return {{'o', Button::Ok}};
}

const char* ChoiceText(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return "[O]K";
    case Buttons::OkCancel:
      return "[O]K/[C]ancel";
    case Buttons::AbortRetryIgnore:
      return "[A]bort/[R]etry/[I]gnore";
    case Buttons::YesNoCancel:
      return "[Y]es/[N]o/[C]ancel";
    case Buttons::YesNo:
      return "[Y]es/[N]o";
    case Buttons::RetryCancel:
      return "[R]etry/[C]ancel";
  }
  return "[O]K";
}

}  // namespace

CTerminalInteraction::CTerminalInteraction(bool yes) : yes_(yes) {
  if (!yes_ && isatty(STDIN_FILENO)) tty_ = stdin;
}

Button CTerminalInteraction::Automatic(Buttons buttons) const {
  switch (buttons) {
    case Buttons::Ok:
      return Button::Ok;
    case Buttons::OkCancel:
      return yes_ ? Button::Ok : Button::Cancel;
    case Buttons::AbortRetryIgnore:
      return Button::Abort;
    case Buttons::YesNoCancel:
      return yes_ ? Button::Yes : Button::Cancel;
    case Buttons::YesNo:
      return yes_ ? Button::Yes : Button::No;
    case Buttons::RetryCancel:
      return Button::Cancel;
  }
  return Button::Cancel;
}

Button CTerminalInteraction::Ask(const std::string& text, const std::string& title,
                                Buttons buttons, Icon icon) {
  const Button answer = Answer(text, title, buttons, icon);
  if (buttons == Buttons::RetryCancel && answer == Button::Cancel) declined_retry_ = true;
  return answer;
}

Button CTerminalInteraction::Answer(const std::string& text, const std::string&, Buttons buttons,
                                   Icon) {
  if (tty_ == nullptr) {
    // Unattended: the message still reaches the user.
    if (buttons != Buttons::Ok) std::fprintf(stderr, "%s\n", text.c_str());
    return Automatic(buttons);
  }
  const auto choices = Choices(buttons);
  for (;;) {
    std::fprintf(stderr, "%s %s ", text.c_str(), ChoiceText(buttons));
    std::fflush(stderr);
    char line[64];
    if (std::fgets(line, sizeof line, tty_) == nullptr) return Automatic(buttons);
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    if (c == '\n' && choices.size() == 1) return choices.front().second;
    for (const auto& [key, button] : choices) {
      if (key == c) return button;
    }
  }
}

}  // namespace kelvo::cli
