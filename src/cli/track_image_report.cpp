#include "cli/track_image_report.h"

#include <iostream>

#include "diskfs/disk_image_doc.h"

namespace kelvo::cli {

void ReportTrackImage(const std::string& name, const CDiskImageDoc& doc, bool always) {
  const TrackDiskReport* report = doc.TrackReport();
  if (!report || (!always && report->recovered == 0 && report->missing == 0)) return;
  std::cerr << "kdu: " << name << ": " << report->good << " sector(s) good, " << report->recovered
            << " recovered from a later revolution, " << report->missing << " missing\n";
  if (report->missing_lbns.empty()) return;
  std::cerr << "kdu: " << name << ": unreadable LBN(s):";
  for (std::uint32_t lbn : report->missing_lbns) std::cerr << ' ' << lbn;
  std::cerr << '\n';
  if (doc.IsReadOnly()) std::cerr << "kdu: " << name << ": opened read-only\n";
}

}  // namespace kelvo::cli
