#include "viewers/viewer_message.h"

namespace kelvo {

void ShowViewerMessage(Interaction& ui, const ViewerMessage& message) {
  if (message.text.empty()) return;
  if (message.beep) ui.Beep(BeepKind::Exclamation);
  ui.Ask(message.text, message.title, Buttons::Ok, message.icon);
}

std::string FileNamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kelvo
