#include "cli/tape_listing_output.h"

#include <cstdio>

#include "cli/name_json.h"

namespace kelvo::cli {

void PrintTapeListText(std::ostream& out, const TapeListDisplay& shown) {
  out << shown.header << "\n";
  char line[160];
  for (const TapeListEntry* e : shown.rows) {
    std::snprintf(line, sizeof line, "%4d  %-10s %12s  %s\n", e->sequence + 1,
                  EscapedName(e->name).c_str(), e->size_text.c_str(), e->description.c_str());
    out << line;
  }
  out << shown.count_text << ", " << shown.total_text << "\n";
  if (shown.qva_tape) out << "A QVA save tape: restore its files with kdu tape restore TAPE --qva\n";
}

void PrintTapeListJson(std::ostream& out, const std::string& tape, const TapeListDisplay& shown) {
  nlohmann::ordered_json doc;
  doc["tape"] = tape;
  doc["files"] = nlohmann::ordered_json::array();
  for (const TapeListEntry* e : shown.rows) {
    nlohmann::ordered_json file;
    PutName(file, "name", e->name);
    PutName(file, "type", e->type);
    file["size"] = e->byte_length;
    file["record_length"] = e->record_length;
    file["last_block_bytes"] = e->last_block_bytes;
    file["seq"] = e->sequence + 1;
    doc["files"].push_back(std::move(file));
  }
  if (shown.qva_tape) doc["qva_save_tape"] = true;
  out << JsonText(doc) << "\n";
}

void PrintRestoreOutcome(std::ostream& err, const RestoreOutcome& outcome) {
  for (const std::string& line : outcome.Lines()) err << "kdu: " << line << "\n";
}

void PrintQvaRestoreReport(std::ostream& err, const QvaRestoreReport& report) {
  for (const QvaNotRestored& n : report.not_restored) {
    err << "kdu: " << EscapedName(n.name) << ": not restored: " << n.reason << "\n";
  }
  PrintRestoreOutcome(err, report.outcome);
}

}  // namespace kelvo::cli
