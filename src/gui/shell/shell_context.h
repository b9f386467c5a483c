// What the windows of kdisk share: the Interaction port and the application
// state (settings, device table, transfer selection, Open dialog memory).
#pragma once

#include <QString>
#include <QStringList>

#include "app/app_state.h"
#include "core/interaction.h"

namespace kelvo::gui {

struct ShellContext {
  Interaction* ui = nullptr;
  AppState app;
  Settings& settings = app.settings;

  ShellContext() = default;
  ShellContext(const ShellContext&) = delete;
  ShellContext& operator=(const ShellContext&) = delete;

  // The names the window where a drag started had selected, in list order.
  QStringList TransferSelection() const;
  void SetTransferSelection(const QStringList& names);
};

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }

}  // namespace kelvo::gui
