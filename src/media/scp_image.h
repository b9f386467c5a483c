// Flux images of flux imagers (".SCP"): a header, a table of track offsets,
// and per track the revolutions read with their flux transition times.
// Read only: the flux is decoded into sectors, never written back.
#pragma once

#include <cstdint>
#include <span>

#include "media/track_disk.h"

namespace kelvo {

// True when `data` starts with the "SCP" signature.
bool LooksLikeScp(std::span<const std::uint8_t> data);

// Decodes every revolution of every track of the printer's MFM forms and
// keeps, for each sector, the first copy whose CRCs hold; the report counts
// the sectors good in the first revolution, recovered from a later one, and
// missing. ERR_BAD_IMAGE for a file that is no SCP or holds no sector. The
// work is bounded by the size of the file, whatever its offsets and counts.
ErrorCode ParseScp(std::span<const std::uint8_t> data, TrackDisk& out);

}  // namespace kelvo
