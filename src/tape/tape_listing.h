// Listing the files of a labelled tape, and the list's display rules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tape/tape_commands.h"

namespace kelvo {

struct TapeListEntry {
  std::string name;         // "BASE.TYP", upper case
  std::string type;         // the three type letters
  std::string description;  // the type's catalogue description
  std::string size_text;    // byte length with "%ld"
  std::uint64_t byte_length = 0;  // 512 x blocks
  std::uint16_t record_length = 0;
  std::uint16_t last_block_bytes = 0;
  int sequence = 0;  // position in the list when read, from 0
};

// The list of a tape window: its entries and its state.
struct TapeListView {
  std::vector<TapeListEntry> entries;
  std::string status_text;  // the window's status line while a listing runs
  std::string tape_id;
  // The tape starts with a QVA volume header: a save tape, which has no
  // labels to list; its files are restored by the QVA restore.
  bool qva_tape = false;
  int sort_column = 3;  // 0 name, 1 size, 2 description, 3 sequence number
};

// The listing's status line and its Esc abort request.
class CTapeListSink {
 public:
  virtual ~CTapeListSink() = default;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual bool AbortRequested() const = 0;
  virtual void ClearAbortRequest() = 0;
};

// With read false, empties the list. With read true, reads the labels of the
// tape in `drive` into the list (files whose names are not printer file
// names are left out and do not take a sequence number). Errors are shown to
// the user as they happen; the result is 0 or the error that stopped the
// listing (also when already shown), 5009 after an Esc abort.
ErrorCode ListTapeFiles(const TapeContext& ctx, const std::string& drive, bool read,
                        TapeListView& view, CTapeListSink& sink);

// What the list shows for a filter ("*.*" or a type code).
struct TapeListDisplay {
  std::vector<const TapeListEntry*> rows;  // in the order of the sort column
  std::string header;                      // "Contents of '...'"
  std::string count_text;                  // "%d File(s)"
  std::uint64_t total_bytes = 0;           // of the rows shown
  std::string total_text;                  // that total in the short size form
  bool qva_tape = false;                   // the tape is a QVA save tape
};
TapeListDisplay ShowTapeList(const TapeListView& view, const std::string& drive,
                             const std::string& filter);

// Whether a row may be selected (and so restored).
bool IsTapeEntrySelectable(const TapeListEntry& entry);

// The column headings, widths and alignments of the list.
struct TapeListColumn {
  const char* heading;
  int width;
  char alignment;  // 'l', 'r' or 'c'
};
extern const TapeListColumn kTapeListColumns[4];

}  // namespace kelvo
