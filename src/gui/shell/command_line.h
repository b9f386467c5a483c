// kdisk's command line: kdisk [--drive-a DEVICE] [--drive-b DEVICE]
// [--tape0 DEVICE] ... [--tape3 DEVICE] [FILE...]
#pragma once

#include <QStringList>

#include "media/device_table.h"

namespace kelvo::gui {

struct CommandLine {
  DeviceBindings overrides;  // device strings for this run only
  QStringList files;  // local paths; file:// URLs from the desktop are turned into paths
  bool ok = true;
  QString error;
  bool show_help = false;
  bool show_version = false;
  QString help_text;  // the usage text, for --help
};

CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace kelvo::gui
