#include "viewers/viewer_message.h"

#include <fstream>
#include <iterator>

namespace kelvo {

void ShowViewerMessage(Interaction& ui, const ViewerMessage& message) {
  if (message.text.empty()) return;
  if (message.beep) ui.Beep(BeepKind::Exclamation);
  ui.Ask(message.text, message.title, Buttons::Ok, message.icon);
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  out.resize(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(out.data(), size)) return false;
  return true;
}

std::string FileNamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kelvo
