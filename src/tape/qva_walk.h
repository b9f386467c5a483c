// The walk of a QVA tape: the state machine of RestoreQvaTape. Internal to
// the QVA restore (qva_walk.cpp reads the structures, qva_batch.cpp copies
// the files of one directory batch).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tape/qva_format.h"
#include "tape/qva_restore.h"
#include "tape/restored_file.h"

namespace kelvo {

inline constexpr std::size_t kQvaReadBufferSize = 16384;
// Directory entries one batch may hold. A printer disk's type directory is
// far smaller; a chain beyond this is damage, not a directory.
inline constexpr std::size_t kQvaMaxBatchEntries = 100000;
// Questions for a tape asked in a row before the restore gives up.
inline constexpr int kQvaMaxVolumePrompts = 100;
// A rewind after a change of tape reports the change; it is not an error.
inline constexpr ErrorCode kQvaMediaChanged = 1110;

// Brings the next tape of a set into the drive, before the user is asked for
// it: a set of image files mounts its next file (5009 when the set is used
// up: the answer is Cancel); a drive unloads its cartridge so the user can
// change it.
ErrorCode OfferNextQvaTape(CTapeDevice& tape, bool image_set);

class CQvaWalk {
 public:
  CQvaWalk(const TapeContext& ctx, CTapeDevice& tape, bool image_set,
           const QvaRestoreOptions& options, const std::string& spec, CQvaProgressSink& progress,
           QvaRestoreReport& report);

  // Walks the tape from its beginning (already rewound) to the end of the
  // restore. Returns the result of the restore (0 or an error code).
  ErrorCode Run(COutputFolder& destination);

  // True when the restore ended by the user's abort or a cancelled prompt.
  bool Aborted() const { return cancelled_ || progress_.AbortRequested(); }

 private:
  enum class State { VolumeHeader, Characteristics, MasterFileDirectory, Directory, Data, Trailing };
  enum class Next { Continue, End };

  ErrorCode Read();
  Next Fail(ErrorCode rc);
  Next EndOfData();
  Next ShowStructureError(const char* text);
  Next ControlRecord();
  Next InsertFirstVolume();
  Next EndOfVolume(const std::string& status_after);
  Next DiscardToFilemark();
  Next Dispatch();
  Next MasterFileDirectory();
  Next Directory();
  enum class Chain { Complete, NewDiskUnit, End };
  Chain ReadDirectoryChain(const std::string& type);
  void EndBatch();
  void DropTable(const std::string& reason);
  bool Wanted(const QvaFileEntry& entry) const;

  // qva_batch.cpp
  Next RestoreBatch();
  Next CopyFile(const QvaFileEntry& entry, bool skipped_type, COutputFolder*& folder);
  Next NextDataBlock(const std::string& status_after, bool& end_of_data);

  const TapeContext& ctx_;
  CTapeDevice& tape_;
  const bool image_set_;
  const QvaRestoreOptions& options_;
  const std::string spec_;
  const bool user_files_only_;
  const int files_wanted_;
  CQvaProgressSink& progress_;
  QvaRestoreReport& report_;

  std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(kQvaReadBufferSize);
  std::size_t length_ = 0;  // bytes of the current block
  std::size_t used_ = 0;    // bytes of it consumed by file data
  State state_ = State::VolumeHeader;
  int volume_ = 1;
  int prompts_ = 0;
  std::array<std::uint8_t, kQvaSectorSize> mfd_{};
  std::size_t index_position_ = 0;
  bool held_ = false;  // the 12288-byte rule keeps the type for the next batch
  std::string type_;
  std::vector<QvaFileEntry> table_;
  COutputFolder* destination_ = nullptr;
  COutputFolder type_folder_;
  bool cancelled_ = false;
  ErrorCode result_ = ERR_OK;
};

}  // namespace kelvo
