// kdu tape ...: labelled tapes and the tape drive commands.
#include <unistd.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>

#include "app/app_state.h"
#include "app/engine_setup.h"
#include "cli/cli_context.h"
#include "cli/interrupt_as_abort.h"
#include "cli/tape_listing_output.h"
#include "cli/progress_bar.h"
#include "cli/verbs_qva.h"
#include "tape/labelled_tape.h"
#include "tape/tape_drive_info.h"
#include "tape/tape_features.h"
#include "tape/tape_listing.h"
#include "core/error_text.h"

namespace kelvo::cli {
namespace {

namespace fs = std::filesystem;

// The progress window of a tape write or restore on a terminal: the
// progress bar with the status in front and the file and counter after it;
// nothing when stderr is not a terminal.
class CCliTapeProgress : public CTapeProgressSink {
 public:

  void SetTitle(const std::string&) override {}
  void SetSource(const std::string&) override {}
  void SetOutputDirectory(const std::string&) override {}
  void SetStatus(const std::string& text) override { status_ = text; Draw(); }
  void SetCounterLabel(const std::string&) override {}
  void SetCounter(const std::string& text) override { counter_ = text; Draw(); }
  void SetCurrentFile(const std::string& text) override { file_ = text; Draw(); }
  void SetProgress(int percent) override {
    if (percent == percent_) return;
    percent_ = percent;
    Draw();
  }
  void StartClock() override {}
  void StopClock() override {}
  bool AbortRequested() const override { return g_interrupted.load(); }
  void ClearAbortRequest() override { g_interrupted.store(false); }
  void WaitForClose() override { bar_.Finish(); }

 private:
  void Draw() {
    bar_.SetLabel(status_);
    bar_.SetDetail(file_ + " (" + counter_ + ")");
    bar_.Update(static_cast<std::uint64_t>(std::clamp(percent_, 0, 100)), 100);
  }
  CProgressBar bar_{""};
  std::string status_;
  std::string counter_ = "0";
  std::string file_;
  int percent_ = 0;
};

class CCliListSink : public CTapeListSink {
 public:
  void SetStatusText(const std::string&) override {}
  bool AbortRequested() const override { return g_interrupted.load(); }
  void ClearAbortRequest() override { g_interrupted.store(false); }
};

// The state shared by the tape verbs of one run.
struct TapeVerbs {
  CliContext& ctx;
  std::string tape;
  bool json = false;
  std::vector<std::string> files;
  std::string match;
  std::string directory = ".";
  bool type_dirs = false;
  bool user_files_only = false;
  bool qva = false;
  CLI::App* restore_command = nullptr;  // for its usage text

  // The drives as this run binds them; TapeBusy is the run's own flag.
  TapeContext Context() { return MakeTapeContext(*ctx.state, *ctx.ui); }

  // A tape image that does not exist yet is a blank tape: create it for the
  // verbs that write.
  void CreateBlankImage(const TapeContext& tc) {
    const std::string device = ResolveTapeDevice(tape, tc.bindings);
    if (!IsTapImageDevice(device) || device.find(',') != std::string::npos) return;
    std::error_code ec;
    if (!fs::exists(device, ec)) std::ofstream(device, std::ios::binary);
  }

  int List();
  int Write();
  int Restore();
  int Info();
};

int TapeVerbs::List() {
  CInterruptAsAbort interrupt;
  TapeContext tc = Context();
  TapeListView view;
  CCliListSink sink;
  ErrorCode rc = ListTapeFiles(tc, tape, true, view, sink);
  if (rc == ERR_TAPE_RESTORE_CANCELLED) return Fail("Tape list aborted.");
  if (rc != ERR_OK) return Finish(rc);
  TapeListDisplay shown = ShowTapeList(view, tape, "*.*");
  if (json)
    PrintTapeListJson(std::cout, tape, shown);
  else
    PrintTapeListText(std::cout, shown);
  return kExitOk;
}

int TapeVerbs::Write() {
  CInterruptAsAbort interrupt;
  TapeContext tc = Context();
  CreateBlankImage(tc);
  std::string folder = fs::path(files.front()).parent_path().string();
  std::vector<std::string> names;
  for (const std::string& f : files) {
    if (fs::path(f).parent_path().string() != folder) folder.clear();
  }
  for (const std::string& f : files) {
    names.push_back(folder.empty() ? f : fs::path(f).filename().string());
  }
  const AppState& state = *ctx.state;
  TapeWriteOptions options;
  options.blocking_factor = state.settings.TapeBlockingFactor;
  if (options.blocking_factor < 1 || options.blocking_factor > 128) {
    return Fail("the blocking factor must be between 1 and 128");
  }
  options.numbering = {state.LineNumberStart, state.LineNumberIncrement};
  CCliTapeProgress progress;
  ErrorCode rc = WriteLabelledTape(tc, tape, folder, names, options, progress);
  if (rc == ERR_OK && g_interrupted.load()) return Fail("Writing aborted.");
  return Finish(rc);
}

int TapeVerbs::Restore() {
  CInterruptAsAbort interrupt;
  TapeContext tc = Context();
  if (qva) {
    CCliTapeProgress progress;
    return RunQvaRestore(ctx, tc, {tape, match, files, directory, type_dirs, user_files_only}, progress);
  }
  if (!match.empty() && !files.empty()) return Fail("give either --match or names, not both");
  if (match.empty() && files.empty()) {
    std::cerr << "kdu: name the files to restore, or give --match PATTERN\n"
              << restore_command->help();
    return kExitUsage;
  }
  const Settings& settings = ctx.state->settings;
  TapeRestoreOptions options = RestoreOptionsFromSettings(settings);
  options.type_dirs = type_dirs || options.type_dirs;
  options.user_files_only = user_files_only || options.user_files_only;
  CCliTapeProgress progress;
  TapeRestoreReport report;
  ErrorCode rc = RestoreLabelledTape(tc, tape, directory, match, files, options, progress, &report);
  PrintRestoreOutcome(std::cerr, report.outcome);
  if (rc != ERR_OK) return Finish(rc);
  std::printf("%d file(s) restored\n", report.restored);
  return report.outcome.Failed() ? kExitFailed : kExitOk;
}

int TapeVerbs::Info() {
  TapeContext tc = Context();
  TapeDriveInfo info = GetTapeDriveInfo(tc, tape);
  if (!info.opened) return Finish(ERR_TAPE_OPEN);
  std::printf("%s\n", info.caption.c_str());
  std::printf("Default block size: %u\nMinimum block size: %u\nMaximum block size: %u\n"
              "Maximum partitions: %u\n",
              info.drive.default_block_size, info.drive.minimum_block_size,
              info.drive.maximum_block_size, info.drive.maximum_partition_count);
  for (std::size_t i = 0; i < kTapeFeatureFieldCount; ++i) {
    const TapeFeatureField& f = kTapeFeatureFields[i];
    std::printf("  [%c] %s\n", TapeFeatureReported(f, info.drive.features_low, info.drive.features_high) ? 'x' : ' ',
                f.label);
  }
  return kExitOk;
}

}  // namespace

void RegisterTapeVerbs(CLI::App& app, CliContext& ctx) {
  // Owned by the callbacks, which live as long as the app.
  auto verbs = std::make_shared<TapeVerbs>(TapeVerbs{ctx});
  CLI::App* tape = app.add_subcommand("tape", "Labelled tapes and tape drives");
  tape->require_subcommand(1);
  tape->fallthrough();
  const std::string tape_help = "Tape0..Tape3, FILE.tap[,FILE.tap...] or /dev/nstN";

  CLI::App* ls = tape->add_subcommand("ls", "List the files of a labelled tape");
  ls->add_option("TAPE", verbs->tape, tape_help)->required();
  ls->add_flag("--json", verbs->json, "Print the list as JSON");
  ls->callback([&ctx, verbs] { ctx.run = [verbs] { return verbs->List(); }; });

  CLI::App* write = tape->add_subcommand("write", "Write PC files to the end of a labelled tape");
  write->add_option("TAPE", verbs->tape, tape_help)->required();
  write->add_option("FILE", verbs->files, "PC files to write")->required();
  write->callback([&ctx, verbs] { ctx.run = [verbs] { return verbs->Write(); }; });

  CLI::App* restore = tape->add_subcommand("restore", "Restore files from a labelled tape");
  verbs->restore_command = restore;
  restore->add_option("TAPE", verbs->tape, tape_help)->required();
  restore->add_option("NAME", verbs->files, "Names of the files to restore");
  restore->add_option("--match", verbs->match, "Restore the files matching PATTERN (* and ?)");
  restore->add_option("-C", verbs->directory, "Destination folder (default: current)");
  restore->add_flag("--type-dirs", verbs->type_dirs, "Restore into one folder per file type");
  restore->add_flag("--user-files-only", verbs->user_files_only, "Skip system files");
  restore->add_flag("--qva", verbs->qva, "The tape is a QVA save tape (one NAME or --match)");
  restore->callback([&ctx, verbs] { ctx.run = [verbs] { return verbs->Restore(); }; });

  struct Simple {
    const char* name;
    const char* help;
    ErrorCode (*run)(const TapeContext&, const std::string&);
    bool creates;
  };
  static const Simple kSimple[] = {
      {"init", "Make the tape an empty labelled tape", InitialiseTape, true},
      {"erase", "Erase the whole tape", EraseTapeMedia, false},
      {"rewind", "Rewind the tape", RewindTape, false},
      {"load", "Load the tape", LoadTape, false},
      {"unload", "Unload the tape (next volume of an image set)", UnloadTape, false},
      {"retension", "Retension the tape", RetensionTape, false},
  };
  for (const Simple& s : kSimple) {
    CLI::App* sub = tape->add_subcommand(s.name, s.help);
    sub->add_option("TAPE", verbs->tape, tape_help)->required();
    sub->fallthrough();
    const Simple* sp = &s;
    sub->callback([&ctx, verbs, sp] {
      ctx.run = [verbs, sp] {
        TapeContext tc = verbs->Context();
        if (sp->creates) verbs->CreateBlankImage(tc);
        ErrorCode rc = sp->run(tc, verbs->tape);
        return Finish(rc == 1110 ? ERR_OK : rc);  // a changed tape is not an error
      };
    });
  }
  CLI::App* info = tape->add_subcommand("info", "Show what the drive can do");
  info->add_option("TAPE", verbs->tape, tape_help)->required();
  info->callback([&ctx, verbs] { ctx.run = [verbs] { return verbs->Info(); }; });
  for (CLI::App* sub : {ls, write, restore, info}) sub->fallthrough();
}

}  // namespace kelvo::cli
