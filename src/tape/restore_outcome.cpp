#include "tape/restore_outcome.h"

#include "filetypes/name_text.h"

namespace kelvo {

std::vector<std::string> RestoreOutcome::Lines() const {
  std::vector<std::string> lines;
  for (const PartialFile& p : partial) {
    lines.push_back(EscapedName(p.name) + ": the tape holds " + std::to_string(p.bytes_read) +
                    " of the " + std::to_string(p.bytes_promised) +
                    " bytes promised; what was read is kept as " + EscapedName(p.kept_as));
  }
  for (const RenamedFile& r : renamed) {
    lines.push_back(EscapedName(r.name) + ": restored as " + r.pc_name +
                    " (bytes a PC file name cannot hold replaced by _)");
  }
  for (const std::string& name : missing) lines.push_back(EscapedName(name) + ": not on the tape");
  return lines;
}

void ShowRestoreOutcome(Interaction& ui, const RestoreOutcome& outcome) {
  std::string text;
  for (const std::string& line : outcome.Lines()) text += (text.empty() ? "" : "\n") + line;
  if (text.empty()) return;
  const bool failed = outcome.Failed();
  ui.Beep(failed ? BeepKind::Error : BeepKind::Information);
  ui.Ask(text, kAppTitle, Buttons::Ok, failed ? Icon::Exclamation : Icon::Information);
}

}  // namespace kelvo
