// The copy routines of the transfer engine, one per pair of place kinds,
// and the pieces they share. Internal to src/transfer.
#pragma once

#include <string>
#include <string_view>

#include "transfer/transfer_engine.h"
#include "transfer/transfer_floppy_open.h"

namespace kelvo {

// The state of one running routine.
struct TransferRun {
  TransferServices& services;
  TransferReport& report;
  // The settings in effect for this transfer.
  TransferSettings settings;
  // The documents of disk image places (null: none).
  CDiskImageDoc* source_image = nullptr;
  CDiskImageDoc* destination_image = nullptr;

  TransferState& State() { return services.state; }
  Interaction& Ui() { return services.ui; }
  CCopyFilesSink& Progress() { return services.progress; }
  // The open views of the source and the destination place, or null.
  CPlaceView* SourceView() { return services.views.source; }
  CPlaceView* DestinationView() { return services.views.destination; }
  // The drive named by the end of `place` (null when none can be made).
  std::unique_ptr<CFloppyDrive> MakeDrive(std::string_view place);
  // Shows the failure of one file and asks for Retry; notes a declined one.
  bool RetryAfter(ErrorCode code);
  // Called before each file: lets the interface handle waiting events, then
  // tells whether Cancel was pressed (the routine stops before the file).
  bool StopRequested();
};

// Shows the "Copy Files" window for its lifetime.
class CCopyFilesWindowScope {
 public:
  CCopyFilesWindowScope(CCopyFilesSink& sink, const std::string& to) : sink_(sink) {
    sink_.Show();
    sink_.SetTo(to);
  }
  ~CCopyFilesWindowScope() { sink_.Close(); }
  CCopyFilesWindowScope(const CCopyFilesWindowScope&) = delete;
  CCopyFilesWindowScope& operator=(const CCopyFilesWindowScope&) = delete;

 private:
  CCopyFilesSink& sink_;
};

// Sets the copy-in-progress flag for its lifetime; a front end that holds
// it around the whole transfer keeps it set afterwards.
class CCopyInProgressScope {
 public:
  explicit CCopyInProgressScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~CCopyInProgressScope() { flag_ = before_; }
  CCopyInProgressScope(const CCopyInProgressScope&) = delete;
  CCopyInProgressScope& operator=(const CCopyInProgressScope&) = delete;

 private:
  bool& flag_;
  bool before_;
};

// Opens the floppy of `place` for a routine. Returns 0 with `out` open, or
// the routine's result: 0 after a failure the user was shown (noted in the
// report), else the code.
ErrorCode OpenTransferFloppy(TransferRun& run, std::string_view place, bool interactive,
                             std::uint32_t cache_blocks, std::unique_ptr<CTransferFloppy>& out);

// Deletes an old file stored as `stored_name` before a new one of `blocks`
// blocks is written under that name, when the new one fits with the old
// one's blocks counted as free (else 39, the old file untouched); its entry
// leaves `window`. No such file: nothing to do.
ErrorCode RemoveOldCopy(CKelvoVolume& volume, const std::string& stored_name,
                        std::uint32_t blocks, CPlaceView* window);

ErrorCode PcToFloppy(TransferRun& run, const std::string& source, const std::string& destination);
ErrorCode FloppyToPc(TransferRun& run, const std::string& source, const std::string& destination);
ErrorCode FloppyToFloppy(TransferRun& run, const std::string& source,
                         const std::string& destination);
ErrorCode PcToImage(TransferRun& run, const std::string& source, const std::string& destination);
ErrorCode ImageToPc(TransferRun& run, const std::string& source, const std::string& destination);
ErrorCode PcToTape(TransferRun& run, const std::string& source, const std::string& destination);
ErrorCode TapeToPc(TransferRun& run, const std::string& source, const std::string& destination);

}  // namespace kelvo
