// kdu: the command line of Kelvo Disk Utility.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/cli_context.h"
#include "app/app_state.h"
#include "cli/terminal_interaction.h"
#include "settings_store/qt_settings_store.h"

namespace kelvo::cli {
namespace {

void AddGlobalOptions(CLI::App& app, CliContext& ctx) {
  app.add_option("--drive-a", ctx.drive_a, "Device for floppy drive A: (/dev/fd0, emu:PATH)")
      ->group("Devices");
  app.add_option("--drive-b", ctx.drive_b, "Device for floppy drive B:")->group("Devices");
  for (int i = 0; i < 4; ++i) {
    app.add_option("--tape" + std::to_string(i), ctx.tape[i],
                   "Device for Tape" + std::to_string(i) + " (/dev/nstN, FILE.tap[,FILE.tap...])")
        ->group("Devices");
  }
  app.add_flag("--yes,-y", ctx.yes, "Answer Yes/OK to every question");
  app.add_flag("--retain-format", ctx.retain_format, "Keep printer records as they are on export")
      ->group("Settings overrides");
  app.add_flag("--remove-line-numbers", ctx.remove_line_numbers,
               "Drop the line numbers of source records on export")
      ->group("Settings overrides");
  app.add_flag("--retain-labels", ctx.retain_labels, "Keep tape labels on restored files")
      ->group("Settings overrides");
  app.add_option("--blocking-factor", ctx.blocking_factor, "Tape blocking factor")
      ->group("Settings overrides");
  app.add_option("--line-start", ctx.line_start, "First line number given to text lines")
      ->group("Settings overrides");
  app.add_option("--line-step", ctx.line_step, "Line number increment")
      ->group("Settings overrides");
}

}  // namespace
}  // namespace kelvo::cli

int main(int argc, char** argv) {
  using namespace kelvo::cli;
  CLI::App app{"kdu - Kelvo Disk Utility: printer disks, disk images and tapes", "kdu"};
  app.set_version_flag("--version", KDU_VERSION_TEXT);
  app.require_subcommand(0, 1);
  CliContext ctx;
  AddGlobalOptions(app, ctx);
  RegisterTapeVerbs(app, ctx);
  RegisterTapeImageVerb(app, ctx);
  RegisterDeviceVerbs(app, ctx);
  RegisterDiskVerbs(app, ctx);
  RegisterViewVerbs(app, ctx);
  RegisterFloppyVerbs(app, ctx);
  RegisterTransferVerbs(app, ctx);
  RegisterConvertVerbs(app, ctx);
  RegisterCheckVerbs(app, ctx);
  for (CLI::App* sub : app.get_subcommands({})) sub->fallthrough();

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  CTerminalInteraction ui(ctx.yes);
  ctx.ui = &ui;
  if (!ctx.run) {
    std::cout << app.help();
    return kExitUsage;
  }
  kelvo::CQtSettingsStore store;
  kelvo::AppState state;
  if (int code = PrepareRunState(ctx, state, store); code != kExitOk) return code;
  const int code = ctx.run();
  // Some operations end quietly once the user has cancelled at a device
  // error (the message was shown); the run still did not do its work.
  if (code == kExitOk && ui.DeclinedRetry()) return kExitFailed;
  return code;
}
