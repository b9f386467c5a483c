// What the parts of the main window share: the program's context, the
// present devices of the run, the child windows and the main window itself
// as the parent of the dialogs they show.
#pragma once

#include <vector>

#include "gui/shell/shell_context.h"
#include "gui/windows/device_list.h"

class QWidget;

namespace kelvo::gui {

class CWindowManager;

struct ShellHost {
  ShellContext& ctx;
  const std::vector<PresentDevice>& devices;
  CWindowManager& windows;
  QWidget* parent;
};

}  // namespace kelvo::gui
