#include "gui/shell/shell_context.h"

namespace kelvo::gui {

QStringList ShellContext::TransferSelection() const {
  QStringList out;
  for (const std::string& n : app.TransferSelection) out << Q(n);
  return out;
}

void ShellContext::SetTransferSelection(const QStringList& names) {
  app.TransferSelection.clear();
  for (const QString& n : names) app.TransferSelection.push_back(S(n));
}

}  // namespace kelvo::gui
