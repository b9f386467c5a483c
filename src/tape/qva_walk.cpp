// The QVA tape walk: volume header, characteristics block, Master File
// Directory, directory chains, and the control records between them.
#include "tape/qva_walk.h"

#include <algorithm>
#include <cstring>

#include "tape/tape_label.h"

namespace kelvo {
namespace {

constexpr const char* kRetrievingNames = "Retrieving file names.";

int FilesWanted(const std::string& spec) {
  return spec.find_first_of("*?") == std::string::npos ? 1 : 999999;
}

}  // namespace

CQvaWalk::CQvaWalk(const TapeContext& ctx, CTapeDevice& tape, bool image_set,
                   const QvaRestoreOptions& options, const std::string& spec,
                   CQvaProgressSink& progress, QvaRestoreReport& report)
    : ctx_(ctx),
      tape_(tape),
      image_set_(image_set),
      options_(options),
      spec_(spec.empty() ? "*.*" : spec),
      user_files_only_(EffectiveUserFilesOnly(spec, options.user_files_only)),
      files_wanted_(FilesWanted(spec_)),
      progress_(progress),
      report_(report) {}

ErrorCode CQvaWalk::Read() {
  length_ = 0;
  used_ = 0;
  return tape_.ReadBlock(buffer_.data(), buffer_.size(), length_);
}

CQvaWalk::Next CQvaWalk::Fail(ErrorCode rc) {
  result_ = rc;
  return Next::End;
}

CQvaWalk::Next CQvaWalk::EndOfData() {
  progress_.SetStatus(" Restore complete, rewinding tape.");
  return Next::End;
}

CQvaWalk::Next CQvaWalk::ShowStructureError(const char* text) {
  report_.structure_error = text;
  ctx_.ui.Beep(BeepKind::Error);
  ctx_.ui.Ask(text, "Error", Buttons::Ok, Icon::Error);
  return Next::End;
}

ErrorCode CQvaWalk::Run(COutputFolder& destination) {
  destination_ = &destination;
  state_ = State::VolumeHeader;
  volume_ = 1;
  // Every pass reads at least one block or mounts another volume, so the
  // walk ends with the recorded data of the set.
  for (;;) {
    if (progress_.AbortRequested()) break;
    ctx_.ui.PumpMessages();
    if (progress_.AbortRequested()) break;
    const ErrorCode rc = Read();
    if (rc == ERR_FILEMARK_DETECTED) {
      if (state_ == State::Directory || state_ == State::Data || state_ == State::Trailing) {
        if (state_ == State::Data) DropTable("the disk unit ended before its data");
        state_ = State::MasterFileDirectory;
      }
      continue;
    }
    if (rc == ERR_NO_DATA_DETECTED) {
      if (state_ == State::Data) DropTable("the tape ended before its data");
      EndOfData();
      break;
    }
    if (rc != ERR_OK) {
      result_ = rc;
      break;
    }
    const Next next = length_ == kQvaControlRecordSize ? ControlRecord() : Dispatch();
    if (next == Next::End) break;
  }
  return result_;
}

CQvaWalk::Next CQvaWalk::ControlRecord() {
  if (state_ == State::VolumeHeader) return InsertFirstVolume();
  switch (ClassifyQvaControlRecord(buffer_.data())) {
    case QvaControlKind::EndOfVolume:
      return EndOfVolume(state_ == State::Directory ? kRetrievingNames : "");
    case QvaControlKind::DiskUnitMarker:
      progress_.SetCurrentDiskUnit(QvaDiskUnitText(buffer_.data()));
      return Next::Continue;
    case QvaControlKind::Other:
      return Next::Continue;
  }
  return Next::Continue;
}

// The tape starts with a continuation volume: the user is asked for the
// first one.
CQvaWalk::Next CQvaWalk::InsertFirstVolume() {
  if (++prompts_ > kQvaMaxVolumePrompts) return Fail(ERR_UNRECOGNIZED_MEDIA);
  ErrorCode rc = OfferNextQvaTape(tape_, image_set_);
  if (rc == ERR_TAPE_RESTORE_CANCELLED) {
    cancelled_ = true;
    return Next::End;
  }
  if (rc != ERR_OK) return Fail(rc);
  ctx_.ui.Beep(BeepKind::Exclamation);
  if (ctx_.ui.Ask("Insert QVA Volume 1. \nClick OK to continue, Cancel to abort.", "Error",
                  Buttons::OkCancel, Icon::Exclamation) != Button::Ok) {
    cancelled_ = true;
    return Next::End;
  }
  rc = tape_.RewindTape(false);
  if (rc != ERR_OK && rc != kQvaMediaChanged) return Fail(rc);
  return Next::Continue;
}

CQvaWalk::Next CQvaWalk::EndOfVolume(const std::string& status_after) {
  progress_.SetStatus("End of volume " + std::to_string(volume_) + ". Rewinding tape.");
  const ErrorCode rc = MountNextQvaVolume(tape_, volume_, ctx_.ui, image_set_);
  if (rc == ERR_TAPE_RESTORE_CANCELLED) {
    cancelled_ = true;
    return Next::End;
  }
  if (rc != ERR_OK) return Fail(rc);
  if (!status_after.empty()) progress_.SetStatus(status_after);
  return Next::Continue;
}

// Reads and discards blocks up to the next filemark.
CQvaWalk::Next CQvaWalk::DiscardToFilemark() {
  for (;;) {
    const ErrorCode rc = Read();
    if (rc == ERR_FILEMARK_DETECTED) return Next::Continue;
    if (rc == ERR_NO_DATA_DETECTED) return EndOfData();
    if (rc != ERR_OK) return Fail(rc);
  }
}

CQvaWalk::Next CQvaWalk::Dispatch() {
  switch (state_) {
    case State::VolumeHeader:
      if (!IsQvaVolumeHeader(buffer_.data(), length_)) return ShowStructureError(kQvaNotAVolumeText);
      state_ = State::Characteristics;
      return DiscardToFilemark();
    case State::Characteristics:
      if (length_ != kQvaCharacteristicsSize) return ShowStructureError(kQvaNoCharacteristicsText);
      state_ = State::MasterFileDirectory;
      return DiscardToFilemark();
    case State::MasterFileDirectory:
      return MasterFileDirectory();
    case State::Directory:
      return Directory();
    case State::Data:
      return RestoreBatch();
    case State::Trailing:
      return Next::Continue;
  }
  return Next::Continue;
}

CQvaWalk::Next CQvaWalk::MasterFileDirectory() {
  progress_.SetStatus("Reading Master File Directory.");
  if (!IsQvaMasterFileDirectory(buffer_.data(), length_)) {
    return ShowStructureError(kQvaNoMasterFileDirectoryText);
  }
  std::copy_n(buffer_.data(), kQvaSectorSize, mfd_.begin());
  progress_.SetSystemId(QvaSystemId(mfd_.data()));
  index_position_ = 0;
  held_ = false;
  state_ = State::Directory;
  return Next::Continue;
}

CQvaWalk::Next CQvaWalk::Directory() {
  type_ = QvaIndexType(mfd_.data(), index_position_);
  if (type_.empty()) {
    // More blocks than the type index accounts for: they cannot be named.
    report_.not_restored.push_back({"(blocks after the last type of the index)",
                                    "not described by the Master File Directory"});
    state_ = State::Trailing;
    return Next::Continue;
  }
  progress_.SetStatus(kRetrievingNames);
  table_.clear();
  held_ = false;
  switch (ReadDirectoryChain(type_)) {
    case Chain::End:
      return Next::End;
    case Chain::NewDiskUnit:
      return MasterFileDirectory();
    case Chain::Complete:
      break;
  }
  if (table_.empty()) {
    EndBatch();
    return Next::Continue;
  }
  std::uint64_t total = 0;
  for (const QvaFileEntry& e : table_) total += e.byte_length;
  state_ = State::Data;
  if (total > 0) return Next::Continue;  // the next block is the first data block
  length_ = used_ = 0;                    // no data follows: nothing to read
  return RestoreBatch();
}

// Collects the entries of the type's directory chain, from the current block
// on, into the file table.
CQvaWalk::Chain CQvaWalk::ReadDirectoryChain(const std::string& type) {
  for (;;) {
    bool links = true;
    std::size_t offset = 0;
    while (length_ - offset >= kQvaSectorSize && !progress_.AbortRequested()) {
      links = ReadQvaDirectorySector(buffer_.data() + offset, type, table_);
      offset += kQvaSectorSize;
      if (table_.size() > kQvaMaxBatchEntries) {
        report_.not_restored.push_back({"(directory of type " + type + ")",
                                        "more than " + std::to_string(kQvaMaxBatchEntries) +
                                            " entries: the directory is damaged"});
        result_ = ERR_NOT_ENOUGH_MEMORY;
        return Chain::End;
      }
    }
    if (progress_.AbortRequested()) return Chain::End;
    if (!links) return Chain::Complete;
    if (length_ == kQvaFullDirectoryBlock) {
      held_ = true;
      return Chain::Complete;
    }
    // The chain goes on in the next block. A filemark inside the chain is
    // passed over, keeping the entries collected, unless a new disk unit
    // follows it: then the chain was cut off and its files have no data.
    bool after_filemark = false;
    for (bool got_block = false; !got_block;) {
      ctx_.ui.PumpMessages();
      const ErrorCode rc = Read();
      if (rc == ERR_FILEMARK_DETECTED) {
        after_filemark = true;
        continue;
      }
      if (rc == ERR_NO_DATA_DETECTED) {
        DropTable("the tape ended inside its directory");
        EndOfData();
        return Chain::End;
      }
      if (rc != ERR_OK) {
        result_ = rc;
        return Chain::End;
      }
      if (length_ == kQvaControlRecordSize) {
        const QvaControlKind kind = ClassifyQvaControlRecord(buffer_.data());
        if (kind == QvaControlKind::EndOfVolume && EndOfVolume(kRetrievingNames) == Next::End) {
          return Chain::End;
        }
        if (kind == QvaControlKind::DiskUnitMarker) {
          progress_.SetCurrentDiskUnit(QvaDiskUnitText(buffer_.data()));
        }
        continue;
      }
      if (after_filemark && IsQvaMasterFileDirectory(buffer_.data(), length_)) {
        DropTable("the disk unit ended inside its directory");
        return Chain::NewDiskUnit;
      }
      got_block = true;
    }
  }
}

// After a batch: the next block is the directory of the next type, or of the
// same type when the 12288-byte rule held it.
void CQvaWalk::EndBatch() {
  if (!held_) ++index_position_;
  held_ = false;
  table_.clear();
  state_ = State::Directory;
}

bool CQvaWalk::Wanted(const QvaFileEntry& entry) const {
  return !(user_files_only_ && IsQvaSystemType(type_)) && MatchFileSpec(entry.name, spec_);
}

void CQvaWalk::DropTable(const std::string& reason) {
  for (const QvaFileEntry& e : table_) {
    if (Wanted(e)) report_.not_restored.push_back({e.name, reason});
  }
  table_.clear();
}

}  // namespace kelvo
