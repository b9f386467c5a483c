#include "cli/verbs_qva.h"

#include <cstdio>
#include <iostream>

#include "cli/qva_run_settings.h"
#include "cli/tape_listing_output.h"
#include "tape/qva_restore.h"
#include "app/restore_request.h"

namespace kelvo::cli {
namespace {

// Shows the QVA window's fields on the terminal's tape progress line.
class CQvaProgressLine : public CQvaProgressSink {
 public:
  explicit CQvaProgressLine(CTapeProgressSink& line) : line_(line) {}
  void SetSystemId(const std::string& text) override { line_.SetSource(text); }
  void SetOutputDirectory(const std::string& text) override { line_.SetOutputDirectory(text); }
  void SetCurrentFile(const std::string& text) override { line_.SetCurrentFile(text); }
  void SetFilesRestored(const std::string& text) override { line_.SetCounter(text); }
  void SetStatus(const std::string& text) override { line_.SetStatus(text); }
  void SetCurrentDiskUnit(const std::string& text) override { line_.SetStatus(text); }
  void SetProgress(int percent) override { line_.SetProgress(percent); }
  void StartClock() override { line_.StartClock(); }
  void StopClock() override { line_.StopClock(); }
  bool AbortRequested() const override { return line_.AbortRequested(); }
  void ClearAbortRequest() override { line_.ClearAbortRequest(); }
  void WaitForClose() override { line_.WaitForClose(); }

 private:
  CTapeProgressSink& line_;
};

}  // namespace

int RunQvaRestore(CliContext& ctx, const TapeContext& tc, const QvaRestoreArgs& args,
                  CTapeProgressSink& progress) {
  if (!args.match.empty() && !args.names.empty()) return Fail("give either --match or a name, not both");
  if (args.names.size() > 1) return Fail("a QVA restore takes one name or one --match pattern");
  TapeRestoreRequest request;
  request.source_drive = args.tape;
  request.file_spec = !args.match.empty() ? args.match : !args.names.empty() ? args.names[0] : "*.*";
  request.destination = args.directory;
  request.type_dirs = args.type_dirs;
  request.user_files_only = args.user_files_only;
  request.format = TapeFormat::Qva;
  const RequestCheck check = CheckRestoreRequest(request);
  if (!check.ok()) return Fail(request.file_spec + ": " + check.message);

  // The settings of this run hold "Retain MQS Format" and "Remove Line
  // Numbers" with the command line's overrides applied.
  CQvaProgressLine line(progress);
  QvaRestoreReport report;
  TapeRestoreRun run{progress, line, nullptr, &report};
  const ErrorCode rc = RunTapeRestoreRequest(tc, request, RunSettings(ctx), run);
  PrintQvaRestoreReport(std::cerr, report);
  if (!report.structure_error.empty()) return Fail(report.structure_error);
  if (rc != ERR_OK) return Finish(rc);
  std::printf("%d file(s) restored\n", report.restored);
  return report.not_restored.empty() && !report.outcome.Failed() ? kExitOk : kExitFailed;
}

}  // namespace kelvo::cli
