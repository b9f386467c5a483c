#include "cli/disk_listing_output.h"

#include <cstdio>

#include "cli/name_json.h"

#include "filetypes/file_names.h"
#include "filetypes/file_types.h"
#include "core/size_text.h"

namespace kelvo::cli {

void PrintListingText(std::ostream& out, const std::string& place, const DiskListing& listing,
                      const ListingStyle& style) {
  out << "Contents of '" << place << "'\n";
  if (listing.shows_disk_id) out << "Disk ID: " << EscapedName(listing.disk_id) << "\n";
  char line[160];
  if (style.long_form) {
    std::snprintf(line, sizeof line, "%-12s %10s %6s %6s %6s  %s\n", "Name", "Size", "Record",
                  "Start", "Free", "Type");
    out << line;
  }
  for (const ListedFile& f : listing.files) {
    const std::string name = EscapedName(DisplayName(f.name));
    const std::string description = GetFileTypeDescription(f.type);
    if (style.long_form) {
      std::snprintf(line, sizeof line, "%-12s %10u %6u %6u %6u  %s\n", name.c_str(), f.size,
                    f.RecordSize(), f.StartLbn(), f.FirstFreeByte(), description.c_str());
    } else {
      std::snprintf(line, sizeof line, "%-12s %10u  %s\n", name.c_str(), f.size,
                    description.c_str());
    }
    out << line;
  }
  std::snprintf(line, sizeof line, "%d File(s)\n", static_cast<int>(listing.files.size()));
  out << line;
  out << FormatSize32(static_cast<std::uint32_t>(listing.file_bytes)) << " (Disk free space: "
      << FormatSize32(static_cast<std::uint32_t>(listing.FreeSpace())) << ")\n";
}

void PrintListingJson(std::ostream& out, const std::string& place, const DiskListing& listing) {
  nlohmann::ordered_json doc;
  doc["place"] = place;
  if (listing.shows_disk_id)
    PutName(doc, "disk_id", listing.disk_id);
  else
    doc["disk_id"] = nullptr;
  doc["capacity"] = listing.capacity;
  doc["free"] = listing.FreeSpace();
  doc["files"] = nlohmann::ordered_json::array();
  for (const ListedFile& f : listing.files) {
    nlohmann::ordered_json file;
    PutName(file, "name", DisplayName(f.name));
    file["type"] = f.type;
    file["description"] = GetFileTypeDescription(f.type);
    file["size"] = f.size;
    file["blocks"] = f.Blocks();
    file["record_size"] = f.RecordSize();
    file["start_lbn"] = f.StartLbn();
    file["first_free_byte"] = f.FirstFreeByte();
    doc["files"].push_back(std::move(file));
  }
  doc["problems"] = listing.problems;
  out << JsonText(doc) << "\n";
}

}  // namespace kelvo::cli
