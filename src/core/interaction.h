// The Interaction port: the only way the engine talks to the user.
//
// Long operations ask questions (Retry/Cancel after a device error, "insert
// the destination disk", volume prompts), beep, and let the interface breathe
// between blocks through this interface. The desktop program, the command
// line and the tests each implement it; the engine never shows anything
// itself.
#pragma once

#include <string>

#include "core/error_codes.h"

namespace kelvo {

// Buttons, numbered like the classic message-box answers.
enum class Button { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// Button sets of a message box.
enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };

enum class Icon { None, Error, Question, Exclamation, Information };

// Sounds that accompany message boxes.
enum class BeepKind { Default, Error, Question, Exclamation, Information };

// The application title every message box carries.
inline constexpr const char* kAppTitle = "Kelvo Disk Utility";

class Interaction {
 public:
  virtual ~Interaction() = default;

  // Shows `text` with the given buttons and icon and returns the answer.
  virtual Button Ask(const std::string& text, const std::string& title, Buttons buttons,
                     Icon icon) = 0;
  virtual void Beep(BeepKind kind) = 0;
  // Lets the interface handle waiting events (repaint, button presses).
  virtual void PumpMessages() = 0;

  // Shows the message of `code` with the buttons and icon of its row in the
  // error table and returns the button pressed. Defined with the error table.
  Button ReportError(ErrorCode code);
};

}  // namespace kelvo
