// The message a viewer document shows when it refuses to open a file.
#pragma once

#include <string>

#include "core/interaction.h"

namespace kelvo {

struct ViewerMessage {
  std::string text;  // empty: refused silently
  std::string title = kAppTitle;
  Icon icon = Icon::None;
  bool beep = false;  // sound the warning beep first
};

// Shows `message` through the user interaction (nothing for a silent one).
void ShowViewerMessage(Interaction& ui, const ViewerMessage& message);

// The file name part of `path` (after the last '/' or '\').
std::string FileNamePart(const std::string& path);

}  // namespace kelvo
