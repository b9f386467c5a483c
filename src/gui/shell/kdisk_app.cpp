#include "gui/shell/kdisk_app.h"

#include "gui/windows/pc_explorer_window.h"
#include "gui/shell/recent_files.h"

namespace kelvo::gui {

std::unique_ptr<CMainFrame> StartKdisk(ShellContext& ctx, CKeyValueStore& store,
                                       const CommandLine& command_line, StartupOptions options,
                                       const QString& recently_used_xbel) {
  options.overrides = command_line.overrides;
  StartUp(ctx.app, store, *ctx.ui, options);
  auto frame = std::make_unique<CMainFrame>(ctx, PresentDevices(ctx.app));
  if (!frame->Windows().OpenPcExplorer()) return nullptr;
  frame->Recent().SetFiles(LoadRecentFileList(store));
  frame->Recent().SetDesktopList(recently_used_xbel);
  frame->show();
  for (const QString& file : command_line.files) frame->OpenDocument(file);
  return frame;
}

void EndKdisk(ShellContext& ctx, CKeyValueStore& store, std::unique_ptr<CMainFrame> frame) {
  if (frame) SaveRecentFileList(frame->Recent().Files(), store);
  frame.reset();
  ShutDown(ctx.app, store);
}

}  // namespace kelvo::gui
