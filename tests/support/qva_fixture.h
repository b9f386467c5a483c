// A QVA test bench (see tape_fixture.h): Tape0 bound to a set of tape
// images, and a progress model that records what the restore showed.
#pragma once

#include <string>
#include <vector>

#include "support/qva_tape_builder.h"
#include "support/tape_fixture.h"
#include "tape/qva_restore.h"

namespace kelvo::test {

struct QvaBench : RestoreBenchBase {
  RecordingQvaProgress progress{busy};
  QvaRestoreOptions options;
  QvaRestoreReport report;

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
};

}  // namespace kelvo::test
