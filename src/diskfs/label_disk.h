// Label Disk: changing the disk ID of a printer floppy.
#pragma once

#include <string_view>

#include "media/floppy_drive.h"

namespace kelvo {

// Rewrites bytes 66 to 99 of the volume block ("ID" and the zero-filled
// disk ID, at most 30 characters); no other byte of the disk changes.
// Returns the first error met (ERR_NOT_KELVO_FORMAT for another disk).
ErrorCode LabelDisk(CFloppyDrive& drive, std::string_view disk_id);

}  // namespace kelvo
