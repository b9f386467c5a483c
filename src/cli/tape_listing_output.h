// How kdu prints what it read from a tape: the listing of a labelled tape
// (text or JSON) and the outcome of a restore. Names are escaped
// (EscapedName), so no byte a tape holds reaches the terminal raw or makes
// the JSON invalid.
#pragma once

#include <ostream>
#include <string>

#include "tape/qva_restore.h"
#include "tape/tape_listing.h"

namespace kelvo::cli {

// "Contents of '...'", one line per file (sequence number, name, size,
// description), "%d File(s), TOTAL", and a hint on a QVA save tape.
void PrintTapeListText(std::ostream& out, const TapeListDisplay& shown);

// One JSON object: {"tape", "files": [{"name", "type", "size",
// "record_length", "last_block_bytes", "seq"}]}, with "name_hex" beside a
// name that is not plain text, and "qva_save_tape": true on a QVA save tape.
void PrintTapeListJson(std::ostream& out, const std::string& tape, const TapeListDisplay& shown);

// One "kdu: ..." line per file cut short, renamed or not found.
void PrintRestoreOutcome(std::ostream& err, const RestoreOutcome& outcome);

// The QVA restore's files not restored and its outcome, "kdu: ..." lines.
void PrintQvaRestoreReport(std::ostream& err, const QvaRestoreReport& report);

}  // namespace kelvo::cli
