// Restoring files from a labelled tape into a PC folder.
#include <algorithm>
#include <memory>
#include <new>

#include "filetypes/file_names.h"
#include "filetypes/name_text.h"
#include "tape/labelled_tape.h"
#include "tape/restored_file.h"
#include "core/error_text.h"

namespace kelvo {
namespace {

constexpr std::size_t kRestoreBufferSize = 16384;

bool IsSystemType(const std::string& type) {
  static const char* const kSystemTypes[] = {"$Y$", "LOG", "OSD", "SAF", "SYS", "TSK"};
  for (const char* t : kSystemTypes) {
    if (type == t) return true;
  }
  return false;
}

// How a restore goes on after one step.
enum class Next { Continue, End };

class CLabelledRestore {
 public:
  CLabelledRestore(const TapeContext& ctx, CTapeDevice& tape, const TapeRestoreOptions& options,
                   CTapeProgressSink& progress, TapeRestoreReport& report)
      : ctx_(ctx), tape_(tape), options_(options), progress_(progress), report_(report) {}

  // The search-and-restore loop. Returns the result of the restore.
  ErrorCode Run(COutputFolder& destination, const std::string& spec,
                const std::vector<std::string>& selection);

 private:
  // Reads one block, asking Abort/Retry/Ignore after a read error. `ignored`
  // is set when the user chose Ignore (the tape is then at the next file).
  ErrorCode ReadWithRecovery(std::size_t& n, bool& ignored, bool& abort_restore) {
    return ReadWithRecovery(buffer_, n, ignored, abort_restore);
  }
  // The same into `into`; blocks of up to kRestoreBufferSize bytes, and more
  // than one when `into` has room for them.
  ErrorCode ReadWithRecovery(std::span<std::uint8_t> into, std::size_t& n, bool& ignored,
                             bool& abort_restore);
  ErrorCode SkipFile(const std::string& status);
  Next RestoreFile(COutputFolder& destination, const TapeLabelName& name,
                   const std::uint8_t* label, ErrorCode& result);
  // Keeps what was read of a file the tape cut short, as NAME.partial.
  ErrorCode KeepPartial(CRestoredFile& out, const std::string& name, std::uint64_t read,
                        std::uint64_t total);
  // Keeps the block just read: converted to text, or the part of it that
  // belongs to the file.
  ErrorCode KeepData(CRestoredFile& out, bool source, bool converted, std::uint64_t remaining,
                     std::size_t n, std::uint16_t last_block_bytes);

  const TapeContext& ctx_;
  CTapeDevice& tape_;
  const TapeRestoreOptions& options_;
  CTapeProgressSink& progress_;
  TapeRestoreReport& report_;
  std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(kRestoreBufferSize);
};

ErrorCode CLabelledRestore::ReadWithRecovery(std::span<std::uint8_t> into, std::size_t& n,
                                             bool& ignored, bool& abort_restore) {
  ignored = false;
  abort_restore = false;
  for (;;) {
    ErrorCode rc = into.size() > kRestoreBufferSize
                       ? tape_.ReadBlocks(into.data(), into.size(), kRestoreBufferSize, n)
                       : tape_.ReadBlock(into.data(), into.size(), n);
    if (rc == ERR_OK || rc == ERR_FILEMARK_DETECTED || rc == ERR_NO_DATA_DETECTED) return rc;
    ctx_.ui.Beep(BeepKind::Error);
    Button b = ctx_.ui.Ask(GetErrorText(rc), "Error!", Buttons::AbortRetryIgnore, Icon::Error);
    if (b == Button::Retry) continue;
    if (b == Button::Ignore) {
      ignored = true;
      return tape_.SpaceFilemarks(1, false);
    }
    abort_restore = true;
    return rc;
  }
}

ErrorCode CLabelledRestore::SkipFile(const std::string& status) {
  progress_.SetStatus(status);
  return tape_.SpaceFilemarks(1, false);
}

ErrorCode CLabelledRestore::KeepData(CRestoredFile& out, bool source, bool converted,
                                     std::uint64_t remaining, std::size_t n,
                                     std::uint16_t last_block_bytes) {
  std::size_t use = static_cast<std::size_t>(std::min<std::uint64_t>(n, remaining));
  if (converted) {
    return ConvertRecordsToText({buffer_.data(), use}, options_.remove_line_numbers, out);
  }
  if (source && remaining <= n) {
    // The last block of records: end where the records end.
    const std::uint64_t keep = (remaining + 511) / 512 * 512 - 512 + std::min<std::uint16_t>(last_block_bytes, 512);
    use = static_cast<std::size_t>(std::min<std::uint64_t>(keep, use));
  }
  out.Keep(use);
  return ERR_OK;
}

ErrorCode CLabelledRestore::KeepPartial(CRestoredFile& out, const std::string& name,
                                        std::uint64_t read, std::uint64_t total) {
  if (ErrorCode rc = out.CommitPartial()) return rc;
  report_.outcome.partial.push_back(
      {name, SafePcFileName(name) + CRestoredFile::kPartialSuffix, read, total});
  return ERR_OK;
}

Next CLabelledRestore::RestoreFile(COutputFolder& destination, const TapeLabelName& name,
                                   const std::uint8_t* label, ErrorCode& result) {
  COutputFolder type_folder;
  COutputFolder* folder = &destination;
  if (options_.type_dirs) {
    if ((result = type_folder.OpenSubfolder(destination, SafePcFileName(name.type)))) return Next::End;
    progress_.SetOutputDirectory(type_folder.path() + "/");
    folder = &type_folder;
  }
  const std::string pc_name = SafePcFileName(name.name);
  if (pc_name != name.name) report_.outcome.renamed.push_back({name.name, pc_name});
  CRestoredFile out;
  if ((result = out.Create(*folder, pc_name))) return Next::End;
  if (options_.retain_labels) {
    if ((result = out.Write({label, kTapeLabelSize}))) return Next::End;
  }
  const bool source = IsSourceLabel(name.name, label);
  // Unless converted to text, blocks are read straight into the file's buffer.
  const bool converted = source && !options_.retain_format;
  const std::uint16_t last_block_bytes = LabelLastBlockBytes(label);
  const std::uint64_t total = std::uint64_t{LabelBlockCount(label)} * 512;
  std::uint64_t remaining = total;
  progress_.SetProgress(0);
  progress_.SetCurrentFile(EscapedName(name.name));
  while (remaining > 0) {
    ctx_.ui.PumpMessages();
    if (progress_.AbortRequested()) return Next::End;  // the partial file goes
    std::size_t n = 0;
    bool ignored = false;
    bool abort_restore = false;
    std::span<std::uint8_t> room;
    if (!converted && (result = out.Room(kRestoreBufferSize, room))) return Next::End;
    ErrorCode rc = ReadWithRecovery(converted ? std::span<std::uint8_t>(buffer_) : room, n, ignored,
                                    abort_restore);
    if (abort_restore || ignored) {
      // The file's data could not be read: what was read is kept; with
      // Ignore the restore goes on with the next file.
      if ((result = KeepPartial(out, name.name, total - remaining, total))) return Next::End;
      if (abort_restore) return Next::End;
      if (rc != ERR_OK && rc != ERR_NO_DATA_DETECTED) result = rc;
      return rc == ERR_OK ? Next::Continue : Next::End;
    }
    if (rc != ERR_OK || n == 0) break;  // a filemark or the end of data ends the file
    progress_.SetProgress(static_cast<int>((total - remaining + std::min<std::uint64_t>(n, remaining)) * 100 / total));
    if ((result = KeepData(out, source, converted, remaining, n, last_block_bytes))) return Next::End;
    remaining -= std::min<std::uint64_t>(n, remaining);
  }
  if (remaining >= 512) {
    // Whole blocks are missing: the tape ended the file early.
    if ((result = KeepPartial(out, name.name, total - remaining, total))) return Next::End;
    return Next::Continue;
  }
  if ((result = out.Commit())) return Next::End;
  ++report_.restored;
  progress_.SetCounter(std::to_string(report_.restored));
  return Next::Continue;
}

ErrorCode CLabelledRestore::Run(COutputFolder& destination, const std::string& spec,
                                const std::vector<std::string>& selection) {
  const bool list_mode = spec.empty();
  const bool single = !list_mode && spec.find_first_of("*?") == std::string::npos;
  // List mode: each mention of a name takes the next file of that name on
  // the tape, whatever the order of the mentions, so the tape is read once.
  std::vector<std::string> wanted;
  for (const std::string& name : selection) wanted.push_back(UpperCase(name));
  std::vector<bool> taken(wanted.size(), false);
  std::size_t left = wanted.size();
  const auto first_left = [&]() -> std::size_t {
    std::size_t i = 0;
    while (i < wanted.size() && taken[i]) ++i;
    return i;
  };
  const auto find_left = [&](const std::string& name) -> std::size_t {
    std::size_t i = 0;
    while (i < wanted.size() && (taken[i] || wanted[i] != name)) ++i;
    return i;
  };
  const std::string upper_spec = UpperCase(spec);
  ErrorCode result = ERR_OK;
  for (;;) {
    ctx_.ui.PumpMessages();
    if (progress_.AbortRequested()) break;
    if (list_mode && left == 0) break;
    progress_.SetStatus(list_mode ? "Searching for file: " + EscapedName(wanted[first_left()])
                                  : "Restoring files.");

    std::size_t n = 0;
    bool ignored = false;
    bool abort_restore = false;
    ErrorCode rc = ReadWithRecovery(n, ignored, abort_restore);
    if (abort_restore) break;
    if (ignored) {
      if (rc == ERR_OK) continue;
      if (rc != ERR_NO_DATA_DETECTED) result = rc;
      break;
    }
    if (rc == ERR_FILEMARK_DETECTED) continue;
    if (rc == ERR_NO_DATA_DETECTED) break;
    if (n != kTapeLabelSize) continue;  // not a label

    const std::uint8_t* label = buffer_.data();
    TapeLabelName name = LabelFileName(label);
    if (IsEndOfFilesName(name.name)) break;

    const char* skip = nullptr;
    std::size_t mention = wanted.size();
    if (!IsKelvoFileName(name.name) || IsReservedDeviceName(name.name)) {
      skip = "Searching for files.";
    } else if (options_.user_files_only && IsSystemType(name.type)) {
      skip = "Skipping non-User file.";
    } else if (list_mode ? (mention = find_left(name.name)) == wanted.size()
                         : !MatchFileSpec(name.name, upper_spec)) {
      skip = "Searching for files.";
    }
    if (skip != nullptr) {
      rc = SkipFile(skip);
      if (rc == ERR_NO_DATA_DETECTED) break;
      if (rc != ERR_OK) {
        result = rc;
        break;
      }
      continue;
    }
    // Copy the label: the data reads reuse the buffer.
    TapeLabelBytes label_copy;
    std::copy_n(label, kTapeLabelSize, label_copy.begin());
    if (list_mode) {
      taken[mention] = true;
      --left;
    }
    if (RestoreFile(destination, name, label_copy.data(), result) == Next::End) break;
    if (single) break;
  }
  // Names still wanted when the search ended without an error were not on
  // the tape (or not before its end-of-files label).
  for (std::size_t i = 0; i < wanted.size() && result == ERR_OK; ++i) {
    if (!taken[i]) report_.outcome.missing.push_back(wanted[i]);
  }
  return result;
}

// The tape work of a restore, from opening the drive to closing it, with
// TapeBusy set. `shown` tells whether the progress window was used.
ErrorCode RestoreWithDrive(const TapeContext& ctx, const std::string& drive,
                           const std::string& destination, const std::string& spec,
                           const std::vector<std::string>& selection,
                           const TapeRestoreOptions& options, CTapeProgressSink& progress,
                           TapeRestoreReport& report, bool& shown) {
  std::unique_ptr<CTapeDevice> tape = OpenTape(ctx, drive);
  if (!tape) {
    ShowTapeOpenFailure(ctx.ui);
    return ERR_OK;
  }
  CTapeBusyScope busy(ctx.tape_busy);
  // Failures are returned unshown: the command that started the restore
  // shows them once.
  if (ErrorCode status = TapeReadyCheck(*tape)) return status;
  CLabelledRestore restore(ctx, *tape, options, progress, report);
  COutputFolder folder;
  shown = true;
  progress.SetTitle("Restoring from Kelvo Labeled Tape");
  progress.SetSource(drive);
  progress.SetOutputDirectory(destination);
  progress.SetStatus("Rewinding Tape");
  ErrorCode result = tape->RewindTape(false);
  if (result == ERR_OK && (result = folder.Open(destination)) == ERR_OK) {
    tape->SetBlockSize(0);
    progress.ClearAbortRequest();
    progress.StartClock();
    progress.SetStatus("Searching for files.");
    result = restore.Run(folder, spec, selection);
  }
  progress.StopClock();
  progress.SetCurrentFile("");
  progress.SetProgress(0);
  progress.SetStatus(progress.AbortRequested() ? "Restore aborted." : "Done.");
  tape->RewindTape(true);
  tape->Close();
  return result;
}

}  // namespace

ErrorCode RestoreLabelledTape(const TapeContext& ctx, const std::string& drive,
                              const std::string& destination, const std::string& spec,
                              const std::vector<std::string>& selection,
                              const TapeRestoreOptions& options, CTapeProgressSink& progress,
                              TapeRestoreReport* report) {
  TapeRestoreReport local_report;
  ctx.ui.PumpMessages();
  bool shown = false;
  ErrorCode result;
  try {
    result = RestoreWithDrive(ctx, drive, destination, spec, selection, options, progress,
                              report ? *report : local_report, shown);
  } catch (const std::bad_alloc&) {
    ctx.tape_busy = false;
    return ERR_NOT_ENOUGH_MEMORY;
  }
  if (!shown) return result;
  const bool aborted = progress.AbortRequested();
  if (!aborted) ShowRestoreOutcome(ctx.ui, (report ? *report : local_report).outcome);
  progress.WaitForClose();
  return aborted ? ERR_TAPE_RESTORE_CANCELLED : result;
}

}  // namespace kelvo
