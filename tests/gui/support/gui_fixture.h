// A kdisk main window for tests: scripted answers instead of message boxes,
// default settings, and helpers to make folders of files.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "gui/windows/disk_image_window.h"
#include "gui/shell/kdisk_app.h"
#include "gui/shell/main_frame.h"
#include "gui/shell/shell_context.h"
#include "settings_store/qt_settings_store.h"
#include "support/scripted_interaction.h"

namespace kelvo::gui::test {

struct Shell {
  kelvo::test::ScriptedInteraction ui;
  ShellContext ctx;
  std::unique_ptr<CMainFrame> frame;

  explicit Shell(std::vector<PresentDevice> devices = {});
  ~Shell();
  // Opens and shows the main window with its PC window on `folder`.
  CPcExplorerWindow* Start(const QString& folder);
};

// A kdisk run as the program makes it: start-up on the settings file `ini`,
// the main window, and the end that writes the settings back.
struct KdiskRun {
  kelvo::CQtSettingsStore store;
  kelvo::test::ScriptedInteraction ui;
  ShellContext ctx;
  std::unique_ptr<CMainFrame> frame;

  explicit KdiskRun(const QString& ini);
  // Starts with the trace log in `root` and no floppy driver under it
  // (warned about unless `warn` is false); false when no main window came.
  bool Start(const QString& root, const CommandLine& cmd = {}, bool warn = true,
             const QString& recently_used_xbel = {});
  void End() { EndKdisk(ctx, store, std::move(frame)); }
};

// Opens `path` in the shell's main window; its image window, or null.
CDiskImageWindow* OpenImage(Shell& shell, const QString& path);

// Creates `names` (with `size` bytes each) in `folder`.
void MakeFiles(const QString& folder, const QStringList& names, int size = 10);
// Writes `bytes` bytes to folder/name.
void MakeFile(const QString& folder, const QString& name, int bytes);
// The names an explorer window lists, in list order.
QStringList Names(const CChildFrameWindow* window);
// Where screenshots and other outputs for review go.
QString OutputPath(const QString& name);

}  // namespace kelvo::gui::test
