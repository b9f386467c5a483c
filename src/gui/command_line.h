// kdisk's command line: kdisk [--drive-a DEVICE] [--drive-b DEVICE]
// [--tape0 DEVICE] ... [--tape3 DEVICE] [FILE...]
#pragma once

#include <QStringList>

#include "app/device_table.h"

namespace kelvo::gui {

struct CommandLine {
  DeviceBindings overrides;  // device strings for this run only
  QStringList files;
  bool ok = true;
  QString error;
};

CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace kelvo::gui
