// kdisk: the desktop program of Kelvo Disk Utility.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "gui/shell/gui_interaction.h"
#include "gui/shell/kdisk_app.h"
#include "gui/shell/recently_used.h"
#include "settings_store/qt_settings_store.h"

namespace {

bool AsksForHelpOrVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    for (const char* flag : {"-h", "--help", "-v", "--version"})
      if (std::strcmp(argv[i], flag) == 0) return true;
  return false;
}

// --help and --version answer without a display.
int AnswerHelpOrVersion(int argc, char** argv) {
  QCoreApplication core(argc, argv);
  const kelvo::gui::CommandLine cmd = kelvo::gui::ParseCommandLine(QCoreApplication::arguments());
  if (!cmd.ok) {
    std::fprintf(stderr, "kdisk: %s\n", qPrintable(cmd.error));
    return 2;
  }
  if (cmd.show_help) std::fputs(qPrintable(cmd.help_text), stdout);
  else std::printf("kdisk %s\n", KDU_VERSION_TEXT);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kelvo::gui;
  if (AsksForHelpOrVersion(argc, argv)) return AnswerHelpOrVersion(argc, argv);
  QApplication app(argc, argv);
  // Ties the windows to the desktop entry (icon and name on Wayland).
  QGuiApplication::setDesktopFileName(QStringLiteral("kdisk"));
  QApplication::setApplicationName(QString::fromLatin1(kelvo::kAppTitle));
  QApplication::setOrganizationName(QStringLiteral("Kelvo"));
  QApplication::setApplicationVersion(QStringLiteral(KDU_VERSION_TEXT));

  const CommandLine cmd = ParseCommandLine(QApplication::arguments());
  if (!cmd.ok) {
    std::fprintf(stderr, "kdisk: %s\n", qPrintable(cmd.error));
    return 2;
  }
  CGuiInteraction ui;
  ShellContext ctx;
  ctx.ui = &ui;
  kelvo::CQtSettingsStore store;
  std::unique_ptr<CMainFrame> frame = StartKdisk(ctx, store, cmd, {}, DefaultRecentlyUsedPath());
  if (!frame) return 1;
  ui.SetParent(frame.get());
  const int result = QApplication::exec();
  ui.SetParent(nullptr);
  EndKdisk(ctx, store, std::move(frame));
  return result;
}
