// The Tape menu: listing, restoring, the single-action tape commands, the
// tape images and the drive information, each with the handling of the
// tape's explorer window.
#pragma once

#include <QObject>

#include "gui/shell/commands.h"
#include "gui/shell/shell_host.h"

namespace kelvo::gui {

class CTapeCommands : public QObject {
  Q_OBJECT
 public:
  explicit CTapeCommands(const ShellHost& host) : host_(host) {}

  void RunTapeCommand(Cmd cmd);

 private:
  ShellHost host_;
};

}  // namespace kelvo::gui
