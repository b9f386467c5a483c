// kdu convert IN OUT: a printer disk image between the ".kdi" form, raw
// sector images (".img", ".ima", ".dsk") and ImageDisk archives (".imd"),
// chosen by the output's extension.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "diskfs/disk_image.h"
#include "media/raw_image.h"

namespace kelvo::cli {
namespace {
namespace fs = std::filesystem;

bool IsImageExtension(const fs::path& p) {
  const std::string ext = LowerExtension(p);
  return ext == ".kdi" || ext == ".img" || ext == ".ima" || ext == ".dsk" || ext == ".imd";
}


int RunConvert(const std::string& in, const std::string& out) {
  if (!IsImageExtension(in) || !IsImageExtension(out)) {
    std::cerr << "kdu: convert: images end in .kdi, .img, .ima, .dsk or .imd\n";
    return kExitUsage;
  }
  CDiskImageDoc doc;
  if (ErrorCode err = doc.OnOpenDocument(in)) return Finish(err);
  std::uint32_t lost = 0;
  for (std::uint32_t lbn = 0; lbn < doc.BlockCount(); ++lbn)
    if (doc.IsUnreadable(lbn)) ++lost;
  if (lost > 0 && LowerExtension(out) != ".imd")
    std::cerr << "kdu: convert: " << lost
              << " unreadable block(s) written as zeros (only .imd keeps the marks)\n";
  if (ErrorCode err = doc.OnSaveDocument(out)) return Finish(err);
  return kExitOk;
}

}  // namespace

void RegisterConvertVerbs(CLI::App& app, CliContext& ctx) {
  auto in = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  CLI::App* cv = app.add_subcommand("convert", "Convert a disk image between .kdi, raw and .imd");
  cv->add_option("input", *in, "IMAGE (.kdi, .img, .ima, .dsk, .imd)")->required();
  cv->add_option("output", *out, "IMAGE (.kdi, .img, .ima, .dsk, .imd)")->required();
  cv->callback([&ctx, in, out] { ctx.run = [in, out] { return RunConvert(*in, *out); }; });
}

}  // namespace kelvo::cli
