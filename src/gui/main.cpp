// kdisk: the desktop program of Kelvo Disk Utility.
#include <QApplication>
#include <QMessageBox>

#include "gui/command_line.h"
#include "gui/gui_interaction.h"
#include "gui/main_frame.h"
#include "gui/pc_explorer.h"
#include "gui/settings_bridge.h"

int main(int argc, char** argv) {
  using namespace kelvo::gui;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kelvo::kAppTitle));
  QApplication::setOrganizationName(QStringLiteral("Kelvo"));
  QApplication::setApplicationVersion(QStringLiteral(KDU_VERSION_TEXT));

  const CommandLine cmd = ParseCommandLine(QApplication::arguments());
  if (!cmd.ok) {
    fprintf(stderr, "kdisk: %s\n", qPrintable(cmd.error));
    return 2;
  }
  GuiInteraction ui;
  ShellContext ctx;
  ctx.ui = &ui;
  LoadShellSettings(ctx.settings);

  int result = 1;
  {
    CMainFrame frame(ctx, EnumerateDevices(cmd.bindings));
    ui.SetParent(&frame);
    if (!frame.OpenPcExplorer()) return 1;
    frame.show();
    for (const QString& file : cmd.files) frame.OpenDocument(file);
    result = QApplication::exec();
  }
  SaveShellSettings(ctx.settings);
  return result;
}
