// What every kdu verb shares: the global options, the user interaction and
// the way a verb reports its outcome.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/interaction.h"
#include "core/error_codes.h"

namespace CLI {
class App;
}
namespace kelvo {
struct AppState;
class CKeyValueStore;
}  // namespace kelvo

namespace kelvo::cli {

// Exit statuses of kdu.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct CliContext {
  // Device bindings given on the command line (empty: use the settings).
  std::string drive_a;
  std::string drive_b;
  std::string tape[4];
  bool yes = false;

  // Options that override settings for one run.
  std::optional<bool> retain_format;
  std::optional<bool> remove_line_numbers;
  std::optional<bool> retain_labels;
  std::optional<int> blocking_factor;
  std::optional<int> line_start;
  std::optional<int> line_step;

  // The user interaction of this run (terminal prompts).
  Interaction* ui = nullptr;

  // The application state of this run, ready before `run` is called: the
  // stored settings with the options above applied (RetainPrinterFormat,
  // RemoveLineNumbers, RetainTapeLabels, TapeBlockingFactor,
  // LineNumberStart/LineNumberIncrement), the device bindings with the
  // device options applied, and the device table. kdu writes nothing back
  // on its own; a verb that changes a stored setting writes it to `store`
  // itself (the overrides must not be saved with it).
  AppState* state = nullptr;
  CKeyValueStore* store = nullptr;

  // The selected verb sets this; main runs it after parsing.
  std::function<int()> run;
};

// Prints the message of `code` on stderr (one line) and returns kExitFailed;
// returns kExitOk for code 0.
int Finish(ErrorCode code);

// Prints `message` on stderr (one line) and returns kExitFailed.
int Fail(const std::string& message);

// Reads the settings and fills `state` for this run, applying the options of
// `ctx` (see CliContext::state). Returns kExitOk, or kExitUsage with a
// message on stderr when an option value is unusable.
int PrepareRunState(CliContext& ctx, AppState& state, CKeyValueStore& store);

// Each group of verbs adds its subcommands to the app (one Register...Verbs
// function per file under src/cli/, called from main).
void RegisterTapeVerbs(CLI::App& app, CliContext& ctx);
// Adds "image" to the tape verbs (after RegisterTapeVerbs).
void RegisterTapeImageVerb(CLI::App& app, CliContext& ctx);
void RegisterDeviceVerbs(CLI::App& app, CliContext& ctx);
void RegisterDiskVerbs(CLI::App& app, CliContext& ctx);
void RegisterViewVerbs(CLI::App& app, CliContext& ctx);
void RegisterFloppyVerbs(CLI::App& app, CliContext& ctx);
void RegisterTransferVerbs(CLI::App& app, CliContext& ctx);
void RegisterConvertVerbs(CLI::App& app, CliContext& ctx);
void RegisterCheckVerbs(CLI::App& app, CliContext& ctx);

}  // namespace kelvo::cli
