// A kdisk main window for tests: scripted answers instead of message boxes,
// default settings, and helpers to make folders of files.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "gui/main_frame.h"
#include "gui/shell_context.h"
#include "support/scripted_interaction.h"

namespace kelvo::gui::test {

struct Shell {
  kelvo::test::ScriptedInteraction ui;
  ShellContext ctx;
  std::unique_ptr<CMainFrame> frame;

  explicit Shell(std::vector<DeviceEntry> devices = {});
  ~Shell();
  // Opens and shows the main window with its PC window on `folder`.
  CPcExplorerWindow* Start(const QString& folder);
};

// Creates `names` (with `size` bytes each) in `folder`.
void MakeFiles(const QString& folder, const QStringList& names, int size = 10);
// Writes `bytes` bytes to folder/name.
void MakeFile(const QString& folder, const QString& name, int bytes);
// The names an explorer window lists, in list order.
QStringList Names(const CChildFrameWindow* window);
// Where screenshots and other outputs for review go.
QString OutputPath(const QString& name);

}  // namespace kelvo::gui::test
