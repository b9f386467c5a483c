// Tape test benches: a temporary folder with an output folder, a scripted
// user, the TapeBusy flag and Tape0 bound to tape images in the folder.
// TapeBench holds one labelled tape image; QvaBench (qva_fixture.h) a set
// of QVA volumes.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/progress_recorder.h"
#include "support/scripted_interaction.h"
#include "support/tape_builder.h"
#include "support/test_support.h"
#include "tape/labelled_tape.h"
#include "tape/tape_commands.h"

namespace kelvo::test {

// Relative name -> content of every file under `folder`, recursively.
inline std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    if (e.is_regular_file()) files[std::filesystem::relative(e.path(), folder).string()] = ReadFileText(e.path());
  }
  return files;
}

struct RestoreBenchBase {
  TempDir dir;
  ScriptedInteraction ui;
  bool busy = false;
  TapeContext ctx{ui, busy, {}};
  std::filesystem::path out = dir / "out";

  RestoreBenchBase() { std::filesystem::create_directory(out); }
  std::string Read(const std::string& name) const { return ReadFileText(out / name); }
  // The names of the files in the output folder (recursively, relative), sorted.
  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    for (const auto& [name, data] : FolderFiles(out)) names.push_back(name);
    return names;
  }
};

struct TapeBench : RestoreBenchBase {
  std::string tap = (dir / "tape0.tap").string();
  RecordingTapeProgress progress{busy};
  TapeWriteOptions write_options;
  TapeRestoreOptions restore_options;
  TapeRestoreReport report;

  TapeBench() {
    ctx.bindings.device[0] = tap;
    WriteFileBytes(tap, "");
  }
  void Load(const TapeImageBuilder& b) { b.WriteTo(tap); }
  std::string TapeBytes() const { return ReadFileText(tap); }
  std::vector<TapItem> Items() const { return ParseTapImage(TapeBytes()); }
  // Writes the files `names` of the temporary folder onto Tape0.
  ErrorCode Write(const std::vector<std::string>& names) {
    return WriteLabelledTape(ctx, "Tape0", dir.path().string(), names, write_options, progress);
  }
  ErrorCode Restore(const std::string& spec, const std::vector<std::string>& selection = {}) {
    return RestoreLabelledTape(ctx, "Tape0", out.string(), spec, selection, restore_options, progress,
                               &report);
  }
};

}  // namespace kelvo::test
