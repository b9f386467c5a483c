#include "tape/tape_listing.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "filetypes/file_names.h"
#include "filetypes/file_types.h"
#include "tape/qva_format.h"
#include "tape/tape_label.h"
#include "core/size_text.h"

namespace kelvo {
namespace {

constexpr std::size_t kListBufferSize = 32767;

int CompareNoCase(const std::string& a, const std::string& b) {
  return UpperCase(a).compare(UpperCase(b));
}

// Ready check of the listing: after two failed checks each failure is shown
// with Retry/Cancel.
ErrorCode ListingReadyCheck(Interaction& ui, CTapeDevice& tape) {
  ErrorCode status = TapeReadyCheck(tape);
  while (status != ERR_OK) {
    if (ui.ReportError(status) != Button::Retry) return status;
    status = tape.GetTapeStatus();
    if (status == 1110) status = ERR_OK;
  }
  return ERR_OK;
}

TapeListEntry EntryFor(const std::uint8_t* label, const TapeLabelName& name, int sequence) {
  TapeListEntry e;
  e.name = name.name;
  e.type = name.type;
  e.description = GetFileTypeDescription(name.type);
  e.byte_length = std::uint64_t{LabelBlockCount(label)} * 512;
  e.size_text = std::to_string(e.byte_length);
  e.record_length = LabelRecordLength(label);
  e.last_block_bytes = LabelLastBlockBytes(label);
  e.sequence = sequence;
  return e;
}

// Reads the labels from the beginning of the tape. Returns 0 at the end of
// the files, or the read error (already shown).
ErrorCode ReadLabels(const TapeContext& ctx, CTapeDevice& tape, TapeListView& view,
                     CTapeListSink& sink) {
  std::vector<std::uint8_t> buffer(kListBufferSize);
  for (bool first = true; !sink.AbortRequested(); first = false) {
    ctx.ui.PumpMessages();
    std::size_t n = 0;
    ErrorCode rc = tape.ReadBlock(buffer.data(), buffer.size(), n);
    if (rc == ERR_FILEMARK_DETECTED || rc == ERR_NO_DATA_DETECTED) return ERR_OK;
    if (rc != ERR_OK) {
      ctx.ui.ReportError(rc);
      return rc;
    }
    if (first && IsQvaVolumeHeader(buffer.data(), n)) {
      view.qva_tape = true;
      return ERR_OK;
    }
    // A block shorter than a label reads as zeros beyond its end.
    if (n < kTapeLabelSize) std::memset(buffer.data() + n, 0, kTapeLabelSize - n);
    const TapeLabelName name = LabelFileName(buffer.data());
    if (IsEndOfFilesName(name.name)) return ERR_OK;
    if (IsKelvoFileName(name.name)) {
      view.entries.push_back(EntryFor(buffer.data(), name, static_cast<int>(view.entries.size())));
    }
    // The rest of the file, up to and including its filemark.
    rc = tape.SpaceFilemarks(1, false);
    if (rc == ERR_NO_DATA_DETECTED) return ERR_OK;
    if (rc != ERR_OK) {
      ctx.ui.ReportError(rc);
      return rc;
    }
  }
  return ERR_OK;
}

}  // namespace

const TapeListColumn kTapeListColumns[4] = {
    {"Name", 90, 'l'}, {"Size", 75, 'r'}, {"Type", 140, 'l'}, {"Seq No.", 55, 'c'}};

ErrorCode ListTapeFiles(const TapeContext& ctx, const std::string& drive, bool read,
                        TapeListView& view, CTapeListSink& sink) {
  if (!read) {
    view.entries.clear();
    view.qva_tape = false;
    view.status_text.clear();
    sink.SetStatusText("");
    return ERR_OK;
  }
  ctx.ui.PumpMessages();
  std::unique_ptr<CTapeDevice> tape = OpenTape(ctx, drive);
  if (!tape) {
    ShowTapeOpenFailure(ctx.ui);
    return ERR_TAPE_OPEN;
  }
  if (ErrorCode status = ListingReadyCheck(ctx.ui, *tape)) return status;
  sink.ClearAbortRequest();
  CTapeBusyScope busy(ctx.tape_busy);
  try {
    sink.SetStatusText("Rewinding tape...");
    if (ErrorCode rc = tape->RewindTape(false)) {
      ctx.ui.ReportError(rc);
      sink.SetStatusText("");
      return rc;
    }
    view.entries.clear();
    view.qva_tape = false;
    sink.SetStatusText("Reading tape files (press 'Esc' to abort)...");
    tape->SetBlockSize(0);
    ErrorCode rc = ReadLabels(ctx, *tape, view, sink);
    sink.SetStatusText("");
    if (rc == ERR_OK && sink.AbortRequested()) {
      view.entries.clear();
      ctx.ui.Ask("Tape list aborted.", kAppTitle, Buttons::Ok, Icon::Information);
      rc = ERR_TAPE_RESTORE_CANCELLED;
    }
    tape->RewindTape(true);
    return rc;
  } catch (const std::bad_alloc&) {
    ctx.ui.ReportError(ERR_NOT_ENOUGH_MEMORY);
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

TapeListDisplay ShowTapeList(const TapeListView& view, const std::string& drive,
                             const std::string& filter) {
  TapeListDisplay d;
  const bool all = filter == "*.*";
  for (const TapeListEntry& e : view.entries) {
    if (all || CompareNoCase(e.type, filter) == 0) {
      d.rows.push_back(&e);
      d.total_bytes += e.byte_length;
    }
  }
  const int column = view.sort_column;
  std::stable_sort(d.rows.begin(), d.rows.end(), [column](const TapeListEntry* a, const TapeListEntry* b) {
    switch (column) {
      case 0:
        return CompareNoCase(a->name, b->name) < 0;
      case 1:
        return a->byte_length < b->byte_length;
      case 2:
        return CompareNoCase(a->description, b->description) < 0;
      default:
        return a->sequence < b->sequence;
    }
  });
  d.header = "Contents of '" + (all ? drive : filter) + "'";
  d.count_text = std::to_string(d.rows.size()) + " File(s)";
  d.total_text = FormatSize(d.total_bytes);
  d.qva_tape = view.qva_tape;
  return d;
}

bool IsTapeEntrySelectable(const TapeListEntry& entry) {
  return IsKelvoFileName(entry.name) && !IsReservedDeviceName(entry.name);
}

}  // namespace kelvo
