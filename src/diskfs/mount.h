// Recognising a printer disk and reading its volume block.
#pragma once

#include "diskfs/on_disk.h"
#include "media/floppy_drive.h"
#include "media/sector_source.h"

namespace kelvo {

// True when the word at byte 100 of a volume block decodes to "$Y$" (any case).
bool HasKelvoMark(const std::uint8_t* volume_block);

// Reads LBN 1 and checks the mark: 0, ERR_NOT_KELVO_FORMAT, or the carrier's
// read error.
ErrorCode IsKelvoDisk(CSectorSource& carrier);

// Reads LBN 1 into `out`: 0 or the carrier's read error.
ErrorCode ReadVolumeBlock(CSectorSource& carrier, VolumeBlock& out);

// Opens and closes `drive` once and checks its disk for the mark:
// 0, ERR_NOT_KELVO_FORMAT, or the drive's error.
ErrorCode CheckKelvoDrive(CFloppyDrive& drive);

// Sets the drive's media type from the sectors per track in the disk's
// volume block and the drive's form; other combinations change nothing.
ErrorCode SetMediaFromDisk(CFloppyDrive& drive);

}  // namespace kelvo
