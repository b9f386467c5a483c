// Copy Disk: a whole printer disk copied cylinder by cylinder between floppy
// drives and disk image files, in any of the four directions.
#pragma once

#include <filesystem>
#include <string>

#include "core/interaction.h"
#include "diskfs/disk_progress.h"
#include "media/floppy_drive.h"

namespace kelvo {

// One end of a copy: a floppy drive, or else a disk image file.
struct DiskCopyEnd {
  CFloppyDrive* drive = nullptr;
  std::filesystem::path image;
};

// The code a copy returns when Stop was pressed or the destination disk was
// not inserted.
inline constexpr ErrorCode kDiskCopyStopped = ERR_FORMAT_CANCELLED;

// Copies `source` to `destination`. Returns 0, kDiskCopyStopped, or the
// failure; every failure has been shown through ReportError (Stop has not).
// A copy to an image file writes the file only when it succeeds.
ErrorCode CopyDisk(const DiskCopyEnd& source, const DiskCopyEnd& destination, Interaction& ui,
                   CDiskProgress& progress);

// Media classification: a source whose highest LBN exceeds 1403 is of the
// 1.2 MB class (17), any other of the 720 KB class (5); a 3.5-inch
// destination drive is 17, any other 1.
MediaKind SourceClass(std::uint16_t highest_lbn);
MediaKind DestinationClass(int drive_form);

struct MediaConfirmation {
  std::string question;
  MediaKind code;  // used to format the destination on Yes
};
MediaConfirmation ConfirmationFor(MediaKind source_class, MediaKind destination_class);

}  // namespace kelvo
