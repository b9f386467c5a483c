#include "gui/windows/size_text.h"

#include <limits>

#include "core/size_text.h"

namespace kelvo::gui {

QString SizeText32(quint64 n) {
  // The 32-bit text saturates rather than wrapping a larger total.
  const quint64 max = std::numeric_limits<std::uint32_t>::max();
  return QString::fromStdString(FormatSize32(static_cast<std::uint32_t>(n > max ? max : n)));
}

QString SizeText64(quint64 n) { return QString::fromStdString(FormatSize(n)); }

}  // namespace kelvo::gui
