// kdu format, label, copydisk and drives --formats: the whole-disk commands
// on printer floppies.
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "cli/floppy_place.h"
#include "diskfs/copy_disk.h"
#include "diskfs/format.h"
#include "diskfs/label_disk.h"

namespace kelvo::cli {
namespace {

// Status lines of the Format and Copy Disk windows, shown on a terminal.
class CTerminalDiskProgress : public CFormatProgress {
 public:
  void SetStatus(const std::string& text) override {
    if (isatty(STDERR_FILENO) && !text.empty() && text != last_) std::cerr << text << "\n";
    last_ = text;
  }
  void SetRange(int, int) override {}
  void SetPos(int) override {}
  bool StopRequested() override { return false; }
  void ShowCapacity(MediaKind code) override { capacity_ = CapacityText(code); }
  const std::string& Capacity() const { return capacity_; }

 private:
  std::string last_;
  std::string capacity_;
};

int RunFormat(CliContext& ctx, const std::string& place, const std::string& capacity,
              bool quick, const std::string& id) {
  std::unique_ptr<CFloppyDrive> drive = OpenFloppyPlace(ctx, place);
  if (!drive) return kExitFailed;
  DriveDescription description = drive->DescribeDrive();
  if (description.form == kDriveFormNoPrinterFormat) {
    return Fail("drive " + place + " cannot take printer disks");
  }
  if (!quick) {
    std::string refusal = drive->Device().FormatRefusal();
    if (!refusal.empty()) return Fail(refusal);
  }
  FormatRequest request{MediaForCapacity(capacity, description.form), quick, id};
  CTerminalDiskProgress progress;
  FormatResult result = FormatDisk(*drive, request, *ctx.ui, progress);
  if (result.declined) return Fail("The disk is not in Kelvo format; nothing was formatted.");
  if (result.code == ERR_FORMAT_CANCELLED) return Fail("Format cancelled at user request.");
  if (result.code != ERR_OK) return Finish(result.code);
  std::cout << "Drive formatted successfully (" << CapacityText(result.media) << ")\n";
  return kExitOk;
}

int RunLabel(CliContext& ctx, const std::string& place, const std::string& id) {
  std::unique_ptr<CFloppyDrive> drive = OpenFloppyPlace(ctx, place);
  if (!drive) return kExitFailed;
  return Finish(LabelDisk(*drive, id));
}

int RunCopyDisk(CliContext& ctx, const std::string& from, const std::string& to) {
  std::unique_ptr<CFloppyDrive> source_drive;
  std::unique_ptr<CFloppyDrive> destination_drive;
  DiskCopyEnd source{nullptr, from};
  DiskCopyEnd destination{nullptr, to};
  if (IsFloppyPlace(from)) {
    if (!(source_drive = OpenFloppyPlace(ctx, from))) return kExitFailed;
    source.drive = source_drive.get();
  }
  if (IsFloppyPlace(to)) {
    if (source_drive && std::toupper(static_cast<unsigned char>(from[0])) ==
                            std::toupper(static_cast<unsigned char>(to[0]))) {
      destination.drive = source_drive.get();  // one drive: the disks are swapped
    } else {
      if (!(destination_drive = OpenFloppyPlace(ctx, to))) return kExitFailed;
      destination.drive = destination_drive.get();
    }
  }
  CTerminalDiskProgress progress;
  ErrorCode rc = CopyDisk(source, destination, *ctx.ui, progress);
  if (rc == kDiskCopyStopped) return Fail("Disk copy not complete due to error.");
  if (rc != ERR_OK) return Finish(rc);
  std::cout << "Disk copy completed without error.\n";
  return kExitOk;
}

// Which of the four printer formats each floppy drive supports.
int RunFloppyFormats(CliContext& ctx) {
  struct Row {
    const char* text;
    MediaKind code;
  } rows[] = {{"3.5-inch 720k", MediaKind::F3_720_512},
              {"3.5-inch 1.2Mb", MediaKind::F3_1Pt2_512},
              {"5.25-inch 720k", MediaKind::F5_720_512},
              {"5.25-inch 1.2Mb", MediaKind::F5_1Pt2_512}};
  std::vector<MediaKind> types[2];
  for (int d = 0; d < 2; ++d) {
    std::unique_ptr<CFloppyDrive> drive = OpenFloppyPlace(ctx, d == 0 ? "a:" : "b:");
    // A drive that cannot be asked contributes nothing.
    if (drive && drive->GetMediaTypes(types[d]) != ERR_OK) types[d].clear();
  }
  std::printf("%-16s %-3s %s\n", "FORMAT", "A:", "B:");
  for (const Row& r : rows) {
    auto has = [&](int d) {
      for (MediaKind t : types[d]) {
        if (t == r.code) return "yes";
      }
      return "-";
    };
    std::printf("%-16s %-3s %s\n", r.text, has(0), has(1));
  }
  return kExitOk;
}

}  // namespace

void RegisterFloppyVerbs(CLI::App& app, CliContext& ctx) {
  auto place = std::make_shared<std::string>();
  auto capacity = std::make_shared<std::string>();
  auto quick = std::make_shared<bool>(false);
  auto id = std::make_shared<std::string>();
  CLI::App* format = app.add_subcommand("format", "Format a printer floppy");
  format->add_option("drive", *place, "a: or b:")->required();
  format->add_option("--capacity", *capacity, "720K or 1.2M")
      ->required()
      ->check(CLI::IsMember({"720K", "1.2M"}));
  format->add_flag("--quick", *quick, "Quick (erase): a new file system on a printer disk");
  format->add_option("--id", *id, "Disk ID (at most 30 characters)");
  format->callback([&ctx, place, capacity, quick, id] {
    ctx.run = [&ctx, place, capacity, quick, id] {
      if (!IsFloppyPlace(*place)) return Fail("not a floppy drive: " + *place);
      return RunFormat(ctx, *place, *capacity, *quick, *id);
    };
  });

  auto label_place = std::make_shared<std::string>();
  auto label_text = std::make_shared<std::string>();
  CLI::App* label = app.add_subcommand("label", "Change the disk ID of a printer floppy");
  label->add_option("drive", *label_place, "a: or b:")->required();
  label->add_option("text", *label_text, "The new disk ID (at most 30 characters)")->required();
  label->callback([&ctx, label_place, label_text] {
    ctx.run = [&ctx, label_place, label_text] {
      if (!IsFloppyPlace(*label_place)) return Fail("not a floppy drive: " + *label_place);
      return RunLabel(ctx, *label_place, *label_text);
    };
  });

  auto from = std::make_shared<std::string>();
  auto to = std::make_shared<std::string>();
  CLI::App* copy = app.add_subcommand("copydisk", "Copy a whole printer disk");
  copy->add_option("source", *from, "a:, b: or IMAGE.kdi")->required();
  copy->add_option("destination", *to, "a:, b: or IMAGE.kdi")->required();
  copy->callback([&ctx, from, to] { ctx.run = [&ctx, from, to] { return RunCopyDisk(ctx, *from, *to); }; });

  // "drives --formats" extends the drives verb, when there is one: the main
  // app's final callback runs after the verb's own and takes over the run.
  // (Registered after the drives verb.)
  for (CLI::App* drives : app.get_subcommands([](CLI::App* sub) { return sub->get_name() == "drives"; })) {
    auto formats = std::make_shared<bool>(false);
    drives->add_flag("--formats", *formats, "Which printer formats each floppy drive supports");
    app.final_callback([&ctx, formats] {
      if (*formats) ctx.run = [&ctx] { return RunFloppyFormats(ctx); };
    });
  }
}

}  // namespace kelvo::cli
