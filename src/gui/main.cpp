// kdisk: the desktop program of Kelvo Disk Utility.
#include <QApplication>
#include <cstdio>

#include "app/startup.h"
#include "gui/command_line.h"
#include "gui/gui_interaction.h"
#include "gui/main_frame.h"
#include "gui/pc_explorer.h"
#include "settings_store/qt_settings_store.h"

int main(int argc, char** argv) {
  using namespace kelvo::gui;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kelvo::kAppTitle));
  QApplication::setOrganizationName(QStringLiteral("Kelvo"));
  QApplication::setApplicationVersion(QStringLiteral(KDU_VERSION_TEXT));

  const CommandLine cmd = ParseCommandLine(QApplication::arguments());
  if (!cmd.ok) {
    std::fprintf(stderr, "kdisk: %s\n", qPrintable(cmd.error));
    return 2;
  }
  GuiInteraction ui;
  ShellContext ctx;
  ctx.ui = &ui;
  kelvo::QtSettingsStore store;
  kelvo::StartupOptions options;
  options.overrides = cmd.overrides;
  kelvo::StartUp(ctx.app, store, ui, options);

  int result = 1;
  {
    CMainFrame frame(ctx, PresentDevices(ctx.app));
    ui.SetParent(&frame);
    if (frame.OpenPcExplorer()) {
      frame.show();
      for (const QString& file : cmd.files) frame.OpenDocument(file);
      result = QApplication::exec();
    }
  }
  kelvo::ShutDown(ctx.app, store);
  return result;
}
