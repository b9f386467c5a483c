// How kdu prints the listing of a printer disk: text or JSON.
#pragma once

#include <ostream>
#include <string>

#include "diskfs/listing.h"

namespace kelvo::cli {

struct ListingStyle {
  bool long_form = false;  // add record size, starting LBN, first free byte
};

// "Contents of 'PLACE'", the disk ID when shown, one line per file (name,
// size in bytes, type description), "%d File(s)" and
// "%s (Disk free space: %s)".
void PrintListingText(std::ostream& out, const std::string& place, const DiskListing& listing,
                      const ListingStyle& style);

// One JSON object: {"place", "disk_id", "capacity", "free", "files": [...],
// "problems": [...]}.
void PrintListingJson(std::ostream& out, const std::string& place, const DiskListing& listing);

}  // namespace kelvo::cli
