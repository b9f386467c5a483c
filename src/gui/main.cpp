// kdisk: the desktop program of Kelvo Disk Utility.
#include <QApplication>
#include <cstdio>

#include "gui/gui_interaction.h"
#include "gui/kdisk_app.h"
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
  std::unique_ptr<CMainFrame> frame = StartKdisk(ctx, store, cmd);
  if (!frame) return 1;
  ui.SetParent(frame.get());
  const int result = QApplication::exec();
  ui.SetParent(nullptr);
  EndKdisk(ctx, store, std::move(frame));
  return result;
}
