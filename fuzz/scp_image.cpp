// Fuzz target: a floppy SCP image decoded into the blocks of a disk, which
// is then listed. Hostile offsets, lengths and counts must never read out of
// bounds, allocate without bound or loop for ever; the decoded blocks must
// agree with the decoder's account of good and missing sectors.
#include <cstdint>

#include "fuzz_support.h"
#include "media/scp_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelvo::TrackDisk disk;
  if (kelvo::ParseScp({data, size}, disk) != kelvo::ERR_OK) return 0;
  kelvo::fuzz::CheckTrackDisk(disk);
  return 0;
}
