// Formatting printer floppies: the full format (every cylinder, then an
// empty file system) and the quick format (a new file system on a disk that
// already is a printer disk).
#pragma once

#include <string>

#include "core/interaction.h"
#include "diskfs/disk_progress.h"
#include "media/floppy_drive.h"

namespace kelvo {

struct FormatRequest {
  MediaKind media = MediaKind::F3_720_512;  // the code chosen for the drive
  bool quick = false;
  std::string disk_id;  // empty: "Kelvo Disk Utility"
};

struct FormatResult {
  // 0 when the disk was formatted; ERR_FORMAT_CANCELLED when Cancel was
  // pressed; otherwise the failure (already shown to the user).
  ErrorCode code = ERR_OK;
  // A quick format found no printer disk and the user chose not to format.
  bool declined = false;
  MediaKind media = MediaKind::Unknown;  // the code the disk got
};

// The media code for a capacity text ("720K", "1.2M") in a drive of `form`;
// Unknown for any other text.
MediaKind MediaForCapacity(const std::string& capacity, int form);
// The capacity text that shows `code`.
std::string CapacityText(MediaKind code);

FormatResult FormatDisk(CFloppyDrive& drive, const FormatRequest& request, Interaction& ui,
                        CFormatProgress& progress);

// The Format dialog's closing message for `result` (nothing when declined).
void ShowFormatOutcome(Interaction& ui, const FormatResult& result);

// Writes a new empty file system in the format of `code` to the first 80
// blocks of the opened, locked drive, repeating while the user answers
// Retry to a write error.
ErrorCode WriteFileSystem(CFloppyDrive& drive, MediaKind code, const std::string& disk_id,
                          Interaction& ui, CDiskProgress& progress);

}  // namespace kelvo
