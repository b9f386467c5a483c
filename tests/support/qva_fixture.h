// A QVA test bench: a temporary folder with an output folder, a scripted
// user, the TapeBusy flag, Tape0 bound to a set of tape images, and a
// progress model that records what the restore showed.
#pragma once

#include <string>
#include <vector>

#include "support/progress_recorder.h"
#include "support/qva_tape_builder.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"
#include "tape/qva_restore.h"

namespace kelvo::test {

struct QvaBench {
  TempDir dir;
  ScriptedInteraction ui;
  bool busy = false;
  TapeContext ctx{ui, busy, {}};
  std::filesystem::path out = dir / "out";
  RecordingQvaProgress progress{busy};
  QvaRestoreOptions options;
  QvaRestoreReport report;

  QvaBench() { std::filesystem::create_directory(out); }

  // Writes the builder's volumes and binds Tape0 to them in `order` (volume
  // numbers from 1; empty: all in order).
  void Load(const QvaTapeBuilder& b, const std::vector<int>& order = {}) {
    const std::vector<std::string> paths = b.WriteVolumes(dir.path());
    std::vector<std::string> set;
    if (order.empty()) set = paths;
    for (int v : order) set.push_back(paths.at(static_cast<std::size_t>(v - 1)));
    ctx.bindings.device[0] = JoinVolumes(set);
  }
  ErrorCode Restore(const std::string& spec = "*.*") {
    return RestoreQvaTape(ctx, "Tape0", out.string(), spec, options, progress, &report);
  }
  std::string Read(const std::string& name) const { return ReadFileText(out / name); }
  // The names in the output folder (recursively, relative), sorted.
  std::vector<std::string> Listing() const;
};

}  // namespace kelvo::test
