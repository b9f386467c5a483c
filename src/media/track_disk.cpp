#include "media/track_disk.h"

#include <algorithm>
#include <cstring>

#include "media/media_kind.h"

namespace kelvo {

CTrackSectorCollector::CTrackSectorCollector(int cylinders)
    : cylinders_(std::clamp(cylinders, 0, kMaxImageCylinders)),
      slots_(std::size_t(cylinders_) * kHeads * kMaxSectors) {}

void CTrackSectorCollector::Take(int cyl, int head, int pass,
                                const std::vector<MfmSector>& sectors) {
  if (cyl < 0 || cyl >= cylinders_ || head < 0 || head >= kHeads) return;
  for (const MfmSector& s : sectors) {
    if (s.cyl != cyl || s.head != head || s.size_code != 2 || s.id == 0 || s.id > kMaxSectors)
      continue;
    highest_id_ = std::max<int>(highest_id_, s.id);
    Slot& slot = slots_[(std::size_t(cyl) * kHeads + head) * kMaxSectors + s.id - 1];
    if (!s.data_ok || slot.pass >= 0) continue;
    slot.pass = static_cast<std::int8_t>(std::min(pass, 127));
    slot.data = s.data;
  }
}

ErrorCode CTrackSectorCollector::Finish(TrackDisk& out) const {
  if (highest_id_ == 0) return ERR_BAD_IMAGE;
  const int spt = highest_id_;
  const std::size_t blocks = std::size_t(cylinders_) * kHeads * spt;
  out.cylinders = cylinders_;
  out.sectors = spt;
  out.bytes.assign(blocks * kBlockSize, 0);
  out.unreadable.assign(blocks, false);
  out.report = {};
  for (std::size_t lbn = 0; lbn < blocks; ++lbn) {
    const std::size_t track = lbn / spt, id = lbn % spt;
    const Slot& slot = slots_[track * kMaxSectors + id];
    if (slot.pass < 0) {
      out.unreadable[lbn] = true;
      ++out.report.missing;
      out.report.missing_lbns.push_back(static_cast<std::uint32_t>(lbn));
      continue;
    }
    ++(slot.pass == 0 ? out.report.good : out.report.recovered);
    std::memcpy(out.bytes.data() + lbn * kBlockSize, slot.data.data(), kBlockSize);
  }
  return ERR_OK;
}

}  // namespace kelvo
