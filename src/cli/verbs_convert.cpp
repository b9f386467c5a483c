// kdu convert IN OUT: a printer disk image between the ".kdi" form, raw
// sector images (".img", ".ima", ".dsk"), ImageDisk archives (".imd") and
// emulator track images (".hfe"), or from a flux image (".scp"), chosen by
// the output's extension. --emulator adds an IMG.CFG beside a raw image.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "cli/track_image_report.h"
#include "diskfs/disk_image_doc.h"
#include "media/img_cfg.h"
#include "media/media_kind.h"
#include "media/raw_image.h"

namespace kelvo::cli {
namespace {
namespace fs = std::filesystem;

bool IsRawExtension(const std::string& ext) {
  return ext == ".img" || ext == ".ima" || ext == ".dsk";
}

bool IsImageExtension(const fs::path& p, bool input) {
  const std::string ext = LowerExtension(p);
  return ext == ".kdi" || IsRawExtension(ext) || ext == ".imd" || ext == ".hfe" ||
         (input && ext == ".scp");
}

struct ConvertOptions {
  std::string in, out, drive;
  bool emulator = false;
};

int RunConvert(const ConvertOptions& o) {
  if (!IsImageExtension(o.in, true) || !IsImageExtension(o.out, false)) {
    std::cerr << "kdu: convert: images end in .kdi, .img, .ima, .dsk, .imd or .hfe "
                 "(.scp is read, not written)\n";
    return kExitUsage;
  }
  if (o.emulator && !IsRawExtension(LowerExtension(o.out))) {
    std::cerr << "kdu: convert: --emulator describes a raw .img, .ima or .dsk image\n";
    return kExitUsage;
  }
  CDiskImageDoc doc;
  if (ErrorCode err = doc.OnOpenDocument(o.in)) return Finish(err);
  ReportTrackImage(o.in, doc, true);
  if (!o.drive.empty()) doc.SetFiveInch(o.drive == "5.25");
  std::uint32_t lost = 0;
  for (std::uint32_t lbn = 0; lbn < doc.BlockCount(); ++lbn)
    if (doc.IsUnreadable(lbn)) ++lost;
  if (lost > 0 && LowerExtension(o.out) != ".imd" && LowerExtension(o.out) != ".hfe")
    std::cerr << "kdu: convert: " << lost
              << " unreadable block(s) written as zeros (only .imd and .hfe keep the marks)\n";
  const FloppyForm* form = doc.Form();
  if ((o.emulator || LowerExtension(o.out) == ".hfe") && !form) {
    std::cerr << "kdu: convert: track images and IMG.CFG are made for disks of 9 or 15 "
                 "sectors per track\n";
    return kExitFailed;
  }
  if (ErrorCode err = doc.OnSaveDocument(o.out)) return Finish(err);
  if (o.emulator) {
    std::error_code ec;
    const std::uint64_t size = fs::file_size(o.out, ec);
    if (ec) return Finish(ERR_FILE_NOT_FOUND);
    const int cylinders = int(size / (std::uint64_t(kHeads) * form->sectors * kBlockSize));
    if (ErrorCode err = WriteImgCfgBeside(o.out, *form, cylinders, size)) return Finish(err);
  }
  return kExitOk;
}

}  // namespace

void RegisterConvertVerbs(CLI::App& app, CliContext& ctx) {
  auto o = std::make_shared<ConvertOptions>();
  CLI::App* cv = app.add_subcommand(
      "convert", "Convert a disk image between .kdi, raw, .imd and .hfe, or from .scp");
  cv->add_option("input", o->in, "IMAGE (.kdi, .img, .ima, .dsk, .imd, .hfe, .scp)")->required();
  cv->add_option("output", o->out, "IMAGE (.kdi, .img, .ima, .dsk, .imd, .hfe)")->required();
  cv->add_flag("--emulator", o->emulator, "Write an IMG.CFG for floppy emulators beside a raw image");
  cv->add_option("--drive", o->drive,
                 "The printer's drive, for the data rate and speed of .hfe and IMG.CFG "
                 "(default 3.5, or as the track image read)")
      ->check(CLI::IsMember({"3.5", "5.25"}));
  cv->callback([&ctx, o] { ctx.run = [o] { return RunConvert(*o); }; });
}

}  // namespace kelvo::cli
