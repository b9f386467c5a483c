#include "tape/qva_progress.h"

namespace kelvo {

std::string CQvaRestoreModel::ElapsedTime() const {
  const std::string& shown = window_.ElapsedTime();
  return shown.empty() || shown[0] != ' ' ? FormatElapsedTime(0) : shown;
}

}  // namespace kelvo
