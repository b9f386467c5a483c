// Fuzz target: restoring a QVA save tape set into a folder of the scratch
// folder that is emptied before each run.
//
// The input holds up to three volumes, separated by kVolumeSeparator; each
// becomes one ".tap" image of the set, mounted in turn as the walk asks for
// the next volume. The last byte picks the restore options.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tape/qva_progress.h"
#include "tape/qva_restore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelvo::fuzz::ClearScratch();
  const std::string device = kelvo::fuzz::WriteVolumeSet(data, size);
  const auto out = kelvo::fuzz::ScratchDir() / "out";
  std::filesystem::create_directory(out);

  kelvo::fuzz::FuzzTape tape(device);

  const std::uint8_t flags = kelvo::fuzz::OptionBits(data, size);
  kelvo::QvaRestoreOptions options;
  options.user_files_only = flags & 1;
  options.type_dirs = flags & 2;
  options.retain_format = flags & 4;
  options.remove_line_numbers = flags & 8;

  kelvo::CQvaRestoreModel progress(tape.busy);
  kelvo::QvaRestoreReport report;
  (void)kelvo::RestoreQvaTape(tape.ctx, "Tape0", out.string(), (flags & 16) ? "*.FNT" : "", options,
                              progress, &report);
  return 0;
}
