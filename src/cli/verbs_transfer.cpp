// kdu cp FROM TO NAME...: copies files between places (a PC folder, a:, b:,
// a disk image file, a tape) through the transfer engine.
#include "app/engine_setup.h"
#include "cli/verbs_transfer.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "app/app_state.h"
#include "cli/floppy_place.h"
#include "cli/progress_bar.h"
#include "diskfs/disk_image_doc.h"
#include "tape/tape_open.h"
#include "tape/tape_progress.h"
#include "transfer/transfer_engine.h"

namespace kelvo::cli {
namespace {
namespace fs = std::filesystem;

// Width of the "Copying:" text on the terminal line.
constexpr std::size_t kCopyingWidth = 48;

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
  if (text.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

bool IsTapePlace(const std::string& place) {
  return TapeDriveNumber(place) >= 0 || IsTapImageDevice(place) ||
         place.rfind("/dev/nst", 0) == 0 || place.rfind("/dev/st", 0) == 0;
}

// The kind of a place argument, or nothing (with a message) when it names
// no place.
std::optional<PlaceKind> KindOfPlace(const std::string& place) {
  std::error_code ec;
  if (IsFloppyPlace(place)) return PlaceKind::Floppy;
  if (IsTapePlace(place)) return PlaceKind::Tape;
  if (EndsWithIgnoringCase(place, ".kdi") || fs::is_regular_file(place, ec))
    return PlaceKind::DiskImage;
  if (fs::is_directory(place, ec)) return PlaceKind::PcFolder;
  std::cerr << "kdu: '" << place << "' is not a folder, a drive, a disk image or a tape\n";
  return std::nullopt;
}

// "Copy Files" on the terminal: a progress line on stderr.
class CTerminalCopyWindow final : public CCopyFilesSink {
 public:
  explicit CTerminalCopyWindow(std::size_t total) : total_(total) {}
  void Show() override { bar_.emplace("Copying"); }
  void SetTo(const std::string&) override {}
  void SetCopying(const std::string& text) override {
    if (!bar_) return;
    bar_->SetLabel(ShortenPathText(text, FitsCharacters(kCopyingWidth)));
    bar_->Update(done_++, total_);
  }
  bool CancelRequested() const override { return false; }
  void Close() override {
    if (bar_) bar_->Finish();
    bar_.reset();
  }

 private:
  std::optional<CProgressBar> bar_;
  std::size_t total_;
  std::size_t done_ = 0;
};

// Passes questions on to the terminal and notes whether a failure was shown
// (the tape routines show theirs and return 0).
class CWatchingInteraction final : public Interaction {
 public:
  explicit CWatchingInteraction(Interaction& inner) : inner_(inner) {}
  Button Ask(const std::string& text, const std::string& title, Buttons buttons,
             Icon icon) override {
    if (icon == Icon::Exclamation || icon == Icon::Error) failure_shown_ = true;
    last_text_ = text;
    return inner_.Ask(text, title, buttons, icon);
  }
  void Beep(BeepKind kind) override { inner_.Beep(kind); }
  void PumpMessages() override { inner_.PumpMessages(); }
  bool FailureShown() const { return failure_shown_; }
  const std::string& LastText() const { return last_text_; }

 private:
  Interaction& inner_;
  bool failure_shown_ = false;
  std::string last_text_;
};

// A tape image that does not exist yet is a blank tape: created for writing.
void CreateBlankTapeImage(const std::string& place, const AppState& state) {
  TapeBindings bindings;
  for (int i = 0; i < kTapeDriveCount; ++i)
    if (!state.Bindings.tape[i].empty()) bindings.device[i] = state.Bindings.tape[i];
  const std::string device = ResolveTapeDevice(place, bindings);
  std::error_code ec;
  if (IsTapImageDevice(device) && device.find(',') == std::string::npos &&
      !fs::exists(device, ec))
    std::ofstream(device, std::ios::binary);
}

// "kdu: " and each line of a message, on stderr.
void PrintLines(const std::string& text) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) std::cerr << "kdu: " << line << "\n";
}

// The place text the engine takes: drives as "A:".
std::string PlaceText(const std::string& place, PlaceKind kind) {
  if (kind != PlaceKind::Floppy) return place;
  return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(place[0])))) +
         ":";
}

}  // namespace

int RunCopy(CliContext& ctx, const std::string& from, const std::string& to,
            const std::vector<std::string>& names) {
  const std::optional<PlaceKind> from_kind = KindOfPlace(from);
  const std::optional<PlaceKind> to_kind = KindOfPlace(to);
  if (!from_kind || !to_kind) return kExitUsage;
  AppState& state = *ctx.state;

  std::unique_ptr<CImageFilePlace> images[2];
  const std::string* places[2] = {&from, &to};
  const PlaceKind kinds[2] = {*from_kind, *to_kind};
  for (int i = 0; i < 2; ++i) {
    if (kinds[i] != PlaceKind::DiskImage) continue;
    if (i == 1 && images[0] && from == to) break;  // the same image twice
    images[i] = std::make_unique<CImageFilePlace>(*places[i]);
    if (ErrorCode err = images[i]->Open()) return Finish(err);
  }
  CImageFilePlace* to_image = images[1] ? images[1].get() : nullptr;
  if (*to_kind == PlaceKind::DiskImage && !images[1]) to_image = images[0].get();
  const TransferPlace source =
      images[0] ? images[0]->Place() : TransferPlace{*from_kind, PlaceText(from, *from_kind)};
  const TransferPlace destination =
      to_image ? to_image->Place() : TransferPlace{*to_kind, PlaceText(to, *to_kind)};
  if (*from_kind == PlaceKind::DiskImage && *to_kind == PlaceKind::PcFolder &&
      state.settings.RemoveLineNumbers != 0 && ctx.remove_line_numbers.value_or(false))
    std::cerr << "kdu: line numbers are always kept when exporting from a disk image\n";

  if (*from_kind == PlaceKind::PcFolder && *to_kind == PlaceKind::Tape)
    CreateBlankTapeImage(to, state);

  CTerminalCopyWindow progress(names.size());
  CRestoreProgressModel tape_window(state.TapeBusy);
  CWatchingInteraction ui(*ctx.ui);
  TransferServices services = MakeTransferServices(state, ui, progress, {}, &tape_window);
  state.TransferSelection = names;
  TransferReport report;
  const ErrorCode result = TransferFiles(source, destination, services, &report);
  // A message box answered without a terminal is not printed by every
  // front end: the outcome is said once more on stderr.
  if (report.Failed(result) || ui.FailureShown()) {
    if (images[1]) std::cerr << "kdu: " << to << " left unchanged\n";
    if (result) return Finish(result);
    // A tape restore goes on past a file it could not restore and names
    // every such file in its message.
    if (*from_kind == PlaceKind::Tape) {
      PrintLines(ui.LastText());
      return kExitFailed;
    }
    // The selection is copied in order and stops at the first failure, so
    // the file that failed is the one after those copied.
    const std::size_t failed = static_cast<std::size_t>(report.copied);
    std::cerr << "kdu: ";
    if (!report.cancelled && failed < names.size()) std::cerr << names[failed] << ": ";
    std::cerr << ui.LastText() << "\n";
    if (names.size() > 1)
      std::cerr << "kdu: stopped after " << report.copied << " of " << names.size()
                << " file(s)\n";
    return kExitFailed;
  }
  // A tape restore names the files it restored under other names.
  if ((report.copied == 0 || *from_kind == PlaceKind::Tape) && !ui.LastText().empty())
    PrintLines(ui.LastText());
  if (images[1]) return Finish(images[1]->SaveIfModified());
  return kExitOk;
}

int RunPutFiles(CliContext& ctx, const std::string& place, const std::vector<std::string>& files) {
  const std::optional<PlaceKind> kind = KindOfPlace(place);
  if (!kind) return kExitUsage;
  if (*kind == PlaceKind::PcFolder) return Fail("put copies onto a:, b:, a disk image or a tape");
  // One transfer per run of files from the same folder; an image is saved
  // by each transfer that ends without error.
  std::size_t at = 0;
  while (at < files.size()) {
    const fs::path folder = fs::path(files[at]).parent_path();
    std::vector<std::string> names;
    for (; at < files.size() && fs::path(files[at]).parent_path() == folder; ++at)
      names.push_back(fs::path(files[at]).filename().string());
    if (int rc = RunCopy(ctx, folder.empty() ? "." : folder.string(), place, names)) return rc;
  }
  return kExitOk;
}

void RegisterTransferVerbs(CLI::App& app, CliContext& ctx) {
  struct Options {
    std::string from;
    std::string to;
    std::vector<std::string> names;
  };
  auto o = std::make_shared<Options>();
  CLI::App* cp = app.add_subcommand("cp", "Copy files between places");
  cp->add_option("from", o->from, "PC folder, a:, b:, IMAGE.kdi or tape")->required();
  cp->add_option("to", o->to, "PC folder, a:, b:, IMAGE.kdi or tape")->required();
  cp->add_option("names", o->names, "Files to copy (NAME.TYP on printer media)")->required();
  cp->callback([&ctx, o] { ctx.run = [&ctx, o] { return RunCopy(ctx, o->from, o->to, o->names); }; });
}

}  // namespace kelvo::cli
