// Copying the files of one directory batch from the data blocks that follow
// the directory.
#include <algorithm>

#include "filetypes/name_text.h"
#include "filetypes/source_conversion.h"
#include "tape/qva_walk.h"
#include "tape/tape_label.h"

namespace kelvo {
namespace {

constexpr const char* kRestoringFiles = "Restoring files.";
constexpr const char* kSkippingNonUser = "Skipping non-User files.";
constexpr const char* kSkippingNonMatching = "Skipping non-matching files.";

// Converts a source file's records to text one 512-byte block of the file at
// a time, whatever the sizes of the pieces it is given: records never
// straddle a call to the converter, and a record holding a zero byte ends
// the conversion of its own block only.
class CRecordTextWriter {
 public:
  CRecordTextWriter(CByteSink& out, bool remove_line_numbers)
      : out_(out), remove_line_numbers_(remove_line_numbers) {}

  ErrorCode Write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
      if (used_ == 0 && bytes.size() >= kQvaSectorSize) {
        if (ErrorCode rc = Convert(bytes.first(kQvaSectorSize))) return rc;
        bytes = bytes.subspan(kQvaSectorSize);
        continue;
      }
      const std::size_t take = std::min(bytes.size(), kQvaSectorSize - used_);
      std::copy_n(bytes.begin(), take, carry_.begin() + static_cast<std::ptrdiff_t>(used_));
      used_ += take;
      bytes = bytes.subspan(take);
      if (used_ == kQvaSectorSize) {
        used_ = 0;
        if (ErrorCode rc = Convert(carry_)) return rc;
      }
    }
    return ERR_OK;
  }

  // Converts the records of a last, partial block.
  ErrorCode Finish() {
    const std::size_t n = used_;
    used_ = 0;
    return n == 0 ? ERR_OK : Convert(std::span<const std::uint8_t>(carry_.data(), n));
  }

 private:
  ErrorCode Convert(std::span<const std::uint8_t> block) {
    return ConvertRecordsToText(block, remove_line_numbers_, out_);
  }

  CByteSink& out_;
  bool remove_line_numbers_;
  std::array<std::uint8_t, kQvaSectorSize> carry_{};
  std::size_t used_ = 0;
};

}  // namespace

CQvaWalk::Next CQvaWalk::RestoreBatch() {
  const bool skipped_type = user_files_only_ && IsQvaSystemType(type_);
  progress_.SetStatus(skipped_type ? kSkippingNonUser : kRestoringFiles);
  COutputFolder* folder = nullptr;
  for (std::size_t i = 0; i < table_.size(); ++i) {
    if (progress_.AbortRequested()) return Next::End;
    ctx_.ui.PumpMessages();
    if (CopyFile(table_[i], skipped_type, folder) == Next::End) {
      if (!Aborted() && report_.restored < files_wanted_) {
        for (std::size_t j = i + 1; j < table_.size(); ++j) {
          if (Wanted(table_[j])) {
            report_.not_restored.push_back({table_[j].name, "the restore ended before its data"});
          }
        }
      }
      return Next::End;
    }
  }
  EndBatch();
  return Next::Continue;
}

// Makes the next data block current. A filemark among data blocks is passed
// over; an end-of-volume record mounts the next volume.
CQvaWalk::Next CQvaWalk::NextDataBlock(const std::string& status_after, bool& end_of_data) {
  for (;;) {
    ctx_.ui.PumpMessages();
    if (progress_.AbortRequested()) return Next::End;
    const ErrorCode rc = Read();
    if (rc == ERR_FILEMARK_DETECTED) continue;
    if (rc == ERR_NO_DATA_DETECTED) {
      end_of_data = true;
      return EndOfData();
    }
    if (rc != ERR_OK) return Fail(rc);
    if (length_ == kQvaControlRecordSize &&
        ClassifyQvaControlRecord(buffer_.data()) == QvaControlKind::EndOfVolume) {
      if (EndOfVolume(status_after) == Next::End) return Next::End;
      continue;
    }
    if (length_ > 0) return Next::Continue;
  }
}

CQvaWalk::Next CQvaWalk::CopyFile(const QvaFileEntry& entry, bool skipped_type,
                                  COutputFolder*& folder) {
  progress_.SetProgress(0);
  bool wanted = !skipped_type && MatchFileSpec(entry.name, spec_);
  const std::string pc_name = SafePcFileName(entry.name);
  if (wanted && (pc_name.empty() || (options_.type_dirs && type_.empty()))) {
    report_.not_restored.push_back({entry.name, "its name cannot be given to a PC file"});
    wanted = false;
  }
  const char* status = skipped_type ? kSkippingNonUser : wanted ? kRestoringFiles : kSkippingNonMatching;
  if (!skipped_type) progress_.SetStatus(status);

  CRestoredFile out;
  if (wanted) {
    if (folder == nullptr && options_.type_dirs) {
      const std::string folder_name = SafePcFileName(type_);
      if (ErrorCode rc = type_folder_.OpenSubfolder(*destination_, folder_name)) return Fail(rc);
      const RenamedFile renamed{type_ + "/", folder_name + "/"};
      std::vector<RenamedFile>& all = report_.outcome.renamed;
      if (folder_name != type_ && std::find(all.begin(), all.end(), renamed) == all.end())
        all.push_back(renamed);
      progress_.SetOutputDirectory(type_folder_.path() + "/");
      folder = &type_folder_;
    } else if (folder == nullptr) {
      folder = destination_;
    }
    if (ErrorCode rc = out.Create(*folder, pc_name)) return Fail(rc);
    if (pc_name != entry.name) report_.outcome.renamed.push_back({entry.name, pc_name});
    progress_.SetCurrentFile(EscapedName(entry.name));
  } else {
    progress_.SetCurrentFile("");
  }

  const bool source = wanted && IsSourceEntry(type_, entry.record_length, entry.last_block_bytes);
  const bool convert = source && !options_.retain_format;
  // A source file ends where its records end: its last block holds
  // last-block bytes of them.
  std::uint64_t useful = entry.byte_length;
  if (source && useful > 0) useful -= kQvaSectorSize - std::min<std::size_t>(entry.last_block_bytes, kQvaSectorSize);
  CRecordTextWriter text(out, options_.remove_line_numbers);

  std::uint64_t done = 0;
  while (done < entry.byte_length) {
    if (progress_.AbortRequested()) return Next::End;  // the partial file goes
    if (used_ == length_) {
      bool end_of_data = false;
      if (NextDataBlock(status, end_of_data) == Next::End) {
        // Cut short by the end of the set, a cancelled volume prompt or a
        // damaged block: what was read is kept. After Abort it goes.
        if (wanted && !progress_.AbortRequested()) {
          ErrorCode rc = convert ? text.Finish() : ERR_OK;
          if (rc == ERR_OK) rc = out.CommitPartial();
          if (rc != ERR_OK) return Fail(rc);
          report_.outcome.partial.push_back(
              {entry.name, pc_name + CRestoredFile::kPartialSuffix, done, entry.byte_length});
        }
        return Next::End;
      }
    }
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(entry.byte_length - done, length_ - used_));
    if (wanted && done < useful) {
      const std::size_t keep = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, useful - done));
      const std::span<const std::uint8_t> piece(buffer_.data() + used_, keep);
      if (ErrorCode rc = convert ? text.Write(piece) : out.Write(piece)) return Fail(rc);
    }
    used_ += chunk;
    done += chunk;
    progress_.SetProgress(static_cast<int>(done * 100 / entry.byte_length));
  }
  if (!wanted) return Next::Continue;
  if (convert) {
    if (ErrorCode rc = text.Finish()) return Fail(rc);
  }
  if (ErrorCode rc = out.Commit()) return Fail(rc);
  ++report_.restored;
  progress_.SetFilesRestored(std::to_string(report_.restored));
  return report_.restored >= files_wanted_ ? Next::End : Next::Continue;
}

}  // namespace kelvo
