// A tape test bench: a temporary folder, a scripted user, the TapeBusy flag
// and Tape0 bound to an image file in the folder.
#pragma once

#include <string>
#include <vector>

#include "support/progress_recorder.h"
#include "support/scripted_interaction.h"
#include "support/tape_builder.h"
#include "support/test_support.h"
#include "tape/tape_commands.h"

namespace kelvo::test {

struct TapeBench {
  TempDir dir;
  ScriptedInteraction ui;
  bool busy = false;
  TapeContext ctx{ui, busy, {}};
  std::string tap = (dir / "tape0.tap").string();

  TapeBench() {
    ctx.bindings.device[0] = tap;
    WriteFileBytes(tap, "");
  }
  void Load(const TapeImageBuilder& b) { b.WriteTo(tap); }
  std::string TapeBytes() const { return ReadFileText(tap); }
};

}  // namespace kelvo::test
