// Turning error codes into the user's message and message box.
#pragma once

#include <string>

#include "core/interaction.h"
#include "core/error_codes.h"

namespace kelvo {

// One row of the error table: the message and the box that shows it.
struct ErrorRow {
  std::string text;
  Buttons buttons;
  Icon icon;
};

// The message text of `code`; an unlisted code gets
// "Error message not available (N)".
std::string GetErrorText(ErrorCode code);

// The text, buttons and icon `ReportError` shows for `code`.
ErrorRow GetErrorRow(ErrorCode code);

}  // namespace kelvo
