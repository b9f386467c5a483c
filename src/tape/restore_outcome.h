// What a tape restore tells the user at its end about files it could not
// restore as asked: files the tape cut short (kept as NAME.partial), files
// whose names had to change for the PC, and names it did not find.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tape/tape_commands.h"

namespace kelvo {

// A file whose data ended early: what was read is kept as `kept_as`.
struct PartialFile {
  std::string name;     // as the tape names it
  std::string kept_as;  // the PC file: its PC name + ".partial"
  std::uint64_t bytes_read = 0;
  std::uint64_t bytes_promised = 0;  // by its label or directory entry
};

// A file restored under another name: bytes a PC file name cannot hold
// were replaced.
struct RenamedFile {
  std::string name;  // as the tape names it ("TYPE/" for a type folder)
  std::string pc_name;
  bool operator==(const RenamedFile&) const = default;
};

struct RestoreOutcome {
  std::vector<PartialFile> partial;
  std::vector<RenamedFile> renamed;
  std::vector<std::string> missing;  // names asked for and not found

  // A file was not restored whole, or a name was not found.
  bool Failed() const { return !partial.empty() || !missing.empty(); }
  // One line per file; names are shown escaped (EscapedName).
  std::vector<std::string> Lines() const;
};

// Shows the outcome's lines in one message (the exclamation icon when it
// Failed, else information); nothing when there is nothing to say.
void ShowRestoreOutcome(Interaction& ui, const RestoreOutcome& outcome);

}  // namespace kelvo
