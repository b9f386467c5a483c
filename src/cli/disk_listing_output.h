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
// "%s (Disk free space: %s)". The disk ID and names are escaped.
void PrintListingText(std::ostream& out, const std::string& place, const DiskListing& listing,
                      const ListingStyle& style);

// One JSON object: {"place", "disk_id", "capacity", "free", "files": [...],
// "problems": [...]}. The disk ID and names are escaped (EscapedName), with
// "disk_id_hex" / "name_hex" beside one that is not plain text.
void PrintListingJson(std::ostream& out, const std::string& place, const DiskListing& listing);

}  // namespace kelvo::cli
