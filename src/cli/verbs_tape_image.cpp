// kdu tape image: a whole tape into a .tap image, or an image back onto a tape.
#include <unistd.h>

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "app/engine_setup.h"
#include "cli/interrupt_as_abort.h"
#include "tape/tape_imaging.h"

namespace kelvo::cli {
namespace {

// One line on stderr, redrawn after each record; nothing when stderr is not
// a terminal.
class CCliImagingProgress : public CTapeImagingProgress {
 public:
  CCliImagingProgress() : tty_(isatty(STDERR_FILENO) != 0) {}
  ~CCliImagingProgress() override {
    if (drawn_) std::fprintf(stderr, "\n");
  }
  CCliImagingProgress(const CCliImagingProgress&) = delete;
  CCliImagingProgress& operator=(const CCliImagingProgress&) = delete;

  void Update(const TapeImagingReport& r) override {
    if (!tty_) return;
    std::fprintf(stderr, "\r\033[K%llu record(s), %llu filemark(s), %llu bytes",
                 static_cast<unsigned long long>(r.records),
                 static_cast<unsigned long long>(r.filemarks),
                 static_cast<unsigned long long>(r.bytes));
    std::fflush(stderr);
    drawn_ = true;
  }
  bool AbortRequested() const override { return g_interrupted.load(); }

 private:
  bool tty_;
  bool drawn_ = false;
};

bool EndsWithTap(const std::string& text) {
  return text.size() >= 4 && text.compare(text.size() - 4, 4, ".tap") == 0;
}

struct ImageVerb {
  CliContext& ctx;
  std::string from;
  std::string to;

  int Run() {
    TapeContext tc = MakeTapeContext(*ctx.state, *ctx.ui);
    CInterruptAsAbort interrupt;
    TapeImagingReport report;
    ErrorCode rc = ERR_OK;
    {
      CCliImagingProgress progress;
      // The second argument names the image when it ends in .tap: the tape
      // is read into it; otherwise the image is written onto the tape.
      rc = EndsWithTap(to) ? SaveTapeImage(tc, from, to, progress, report)
                           : WriteTapeImage(tc, from, to, progress, report);
    }
    if (rc != ERR_OK) return Finish(rc);
    std::printf("%llu record(s), %llu filemark(s), %llu bytes\n",
                static_cast<unsigned long long>(report.records),
                static_cast<unsigned long long>(report.filemarks),
                static_cast<unsigned long long>(report.bytes));
    if (report.damaged > 0) {
      std::printf("%llu record(s) could not be read and are kept as error records\n",
                  static_cast<unsigned long long>(report.damaged));
    }
    if (report.aborted) return Fail("Tape imaging aborted.");
    return kExitOk;
  }
};

}  // namespace

void RegisterTapeImageVerb(CLI::App& app, CliContext& ctx) {
  CLI::App* tape = app.get_subcommand("tape");
  auto verb = std::make_shared<ImageVerb>(ImageVerb{ctx, {}, {}});
  CLI::App* image =
      tape->add_subcommand("image", "Read a whole tape into a .tap image, or write one onto a tape");
  image->add_option("FROM", verb->from, "The tape (Tape0..Tape3, /dev/nstN, FILE.tap) or the image")
      ->required();
  image->add_option("TO", verb->to, "The image FILE.tap, or the tape")->required();
  image->fallthrough();
  image->callback([&ctx, verb] { ctx.run = [verb] { return verb->Run(); }; });
}

}  // namespace kelvo::cli
