// Fuzz target: a ".tap" image read as a labelled tape: its listing, then a
// restore of every file and a restore of the first listed files by name,
// into a folder of the scratch folder that is emptied before each run.
//
// The input is the image file. Its last byte also picks the restore options
// (retain labels, retain format, remove line numbers, type folders, user
// files only), so every conversion path is reached.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tape/labelled_tape.h"
#include "tape/tape_listing.h"
#include "tape/tape_progress.h"

namespace {

class QuietListSink : public kelvo::CTapeListSink {
 public:
  void SetStatusText(const std::string&) override {}
  bool AbortRequested() const override { return false; }
  void ClearAbortRequest() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelvo::fuzz::ClearScratch();
  const auto tap = kelvo::fuzz::WriteScratchFile("tape.tap", data, size);
  const auto out = kelvo::fuzz::ScratchDir() / "out";
  std::filesystem::create_directory(out);

  kelvo::fuzz::FuzzTape tape(tap.string());
  const kelvo::TapeContext& ctx = tape.ctx;

  kelvo::TapeListView view;
  QuietListSink list_sink;
  (void)kelvo::ListTapeFiles(ctx, "Tape0", true, view, list_sink);
  (void)kelvo::ShowTapeList(view, "Tape0", "*.*");

  const std::uint8_t flags = kelvo::fuzz::OptionBits(data, size);
  kelvo::TapeRestoreOptions options;
  options.retain_labels = flags & 1;
  options.retain_format = flags & 2;
  options.remove_line_numbers = flags & 4;
  options.type_dirs = flags & 8;
  options.user_files_only = flags & 16;

  {
    kelvo::CRestoreProgressModel progress(tape.busy);
    kelvo::TapeRestoreReport report;
    (void)kelvo::RestoreLabelledTape(ctx, "Tape0", out.string(), "*.*", {}, options, progress,
                                     &report);
  }
  std::vector<std::string> selection;
  for (const auto& entry : view.entries) {
    if (selection.size() == 2) break;
    selection.push_back(entry.name);
  }
  if (!selection.empty()) {
    kelvo::fuzz::ClearScratch();
    kelvo::fuzz::WriteScratchFile("tape.tap", data, size);
    std::filesystem::create_directory(out);
    kelvo::CRestoreProgressModel progress(tape.busy);
    (void)kelvo::RestoreLabelledTape(ctx, "Tape0", out.string(), "", selection, options, progress);
  }
  return 0;
}
