// What kdu says about a disk read from a track image (.hfe, .scp): how many
// sectors were good, recovered from a later revolution, or missing, and the
// LBNs of the missing ones.
#pragma once

#include <string>

namespace kelvo {
class CDiskImageDoc;
}

namespace kelvo::cli {

// Prints the account on stderr when the image was a track image whose
// decoding needed a later revolution or lost sectors (nothing otherwise,
// unless `always`).
void ReportTrackImage(const std::string& name, const CDiskImageDoc& doc, bool always = false);

}  // namespace kelvo::cli
