#include "diskfs/mount.h"

#include "core/radix50.h"

namespace kelvo {

bool HasKelvoMark(const std::uint8_t* volume_block) {
  // RadixDecode gives upper case, so this is the case-blind comparison.
  return RadixDecode(GetWord(volume_block + kTypeIndexOffset)) == "$Y$";
}

ErrorCode IsKelvoDisk(CSectorSource& carrier) {
  Block block{};
  if (ErrorCode err = carrier.ReadSectors(kVolumeBlockLbn, 1, block.data())) return err;
  return HasKelvoMark(block.data()) ? ERR_OK : ERR_NOT_KELVO_FORMAT;
}

ErrorCode ReadVolumeBlock(CSectorSource& carrier, VolumeBlock& out) {
  Block block{};
  if (ErrorCode err = carrier.ReadSectors(kVolumeBlockLbn, 1, block.data())) return err;
  out = VolumeBlock::Decode(block.data());
  return ERR_OK;
}

ErrorCode CheckKelvoDrive(CFloppyDrive& drive) { return drive.CheckDrive(IsKelvoDisk); }

ErrorCode SetMediaFromDisk(CFloppyDrive& drive) {
  DriveDescription description = drive.DescribeDrive();
  VolumeBlock volume;
  if (ErrorCode rc = ReadVolumeBlock(drive, volume)) return rc;
  MediaKind code = MediaForDisk(volume.sectors_per_track, description.form);
  if (code == MediaKind::Unknown) return ERR_OK;
  return drive.SetMediaType(code);
}

}  // namespace kelvo
