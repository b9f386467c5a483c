// The printer disk a kdu verb works on, opened from its PLACE argument:
// a disk image file now; the floppy drives "a:" and "b:" plug in here.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "cli/cli_context.h"
#include "diskfs/kelvo_volume.h"
#include "media/sector_source.h"

namespace kelvo::cli {

class CDiskPlace {
 public:
  virtual ~CDiskPlace() = default;
  // The text shown for the place ("Contents of '...'").
  virtual std::string Name() const = 0;
  virtual CSectorSource& Source() = 0;
  // Blocks the carrier holds, when known (images).
  virtual std::uint32_t CarrierBlocks() const = 0;
  virtual CKelvoVolume& Volume() = 0;
  // Whether "Remove Line Numbers" applies to exports from this place
  // (images always keep the line numbers).
  virtual bool HonoursRemoveLineNumbers() const = 0;
  // Makes the changes permanent (saves a modified image).
  virtual ErrorCode Commit() = 0;
};

// True for "a:" and "b:" (any case).
bool IsDrivePlace(std::string_view place);

// Opens `place` into `out`, checking that it holds a printer disk. Returns
// kExitOk, or the exit status after printing why it could not be opened.
int OpenDiskPlace(CliContext& ctx, const std::string& place, std::unique_ptr<CDiskPlace>& out);

}  // namespace kelvo::cli
