#include "media/imd_image.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>

#include "media/sector_source.h"

namespace kelvo {
namespace {

constexpr int kMaxCylinders = 100;
constexpr int kMaxSectorsPerTrack = 64;

struct Cursor {
  std::span<const std::uint8_t> data;
  std::size_t pos = 0;
  bool Take(std::size_t n, const std::uint8_t*& p) {
    if (data.size() - pos < n) return false;
    p = data.data() + pos;
    pos += n;
    return true;
  }
};

bool HasData(std::uint8_t type) { return type >= 1 && type <= 8; }
bool IsCompressed(std::uint8_t type) { return type != 0 && type % 2 == 0; }
bool IsErrorRecord(std::uint8_t type) { return type >= 5; }

}  // namespace

bool LooksLikeImd(std::span<const std::uint8_t> data) {
  return data.size() >= 4 && std::memcmp(data.data(), "IMD ", 4) == 0;
}

ErrorCode ParseImd(std::span<const std::uint8_t> data, ImdDisk& out) {
  try {
    if (!LooksLikeImd(data)) return ERR_BAD_IMAGE;
    auto end = std::find(data.begin(), data.end(), std::uint8_t{0x1A});
    if (end == data.end()) return ERR_BAD_IMAGE;
    ImdDisk disk;
    // The comment follows the header line.
    auto line_end = std::find(data.begin(), end, std::uint8_t{'\n'});
    if (line_end != end) disk.comment.assign(line_end + 1, end);
    Cursor c{data, static_cast<std::size_t>(end - data.begin()) + 1};

    struct Sector {
      int cyl, head, id;
      const std::uint8_t* bytes;  // nullptr: unreadable
      std::uint8_t fill;
      bool compressed;
    };
    std::vector<Sector> sectors;
    int spt = 0, max_cyl = -1;
    while (c.pos < data.size()) {
      const std::uint8_t* h;
      if (!c.Take(5, h)) return ERR_BAD_IMAGE;
      const int cyl = h[1], head = h[2] & 0x01, count = h[3];
      if (h[0] > 5 || cyl >= kMaxCylinders || (h[2] & 0x3E) != 0 || count > kMaxSectorsPerTrack)
        return ERR_BAD_IMAGE;
      if (h[4] != 2) return ERR_BAD_IMAGE;  // only 512-byte sectors
      const std::uint8_t* map;
      const std::uint8_t* skip;
      if (!c.Take(count, map)) return ERR_BAD_IMAGE;
      if ((h[2] & 0x80) && !c.Take(count, skip)) return ERR_BAD_IMAGE;
      if ((h[2] & 0x40) && !c.Take(count, skip)) return ERR_BAD_IMAGE;
      for (int i = 0; i < count; ++i) {
        const std::uint8_t* t;
        if (!c.Take(1, t) || *t > 8) return ERR_BAD_IMAGE;
        Sector s{cyl, head, map[i], nullptr, 0, false};
        if (HasData(*t)) {
          const std::uint8_t* p;
          if (!c.Take(IsCompressed(*t) ? 1 : kBlockSize, p)) return ERR_BAD_IMAGE;
          if (!IsErrorRecord(*t)) {
            s.bytes = p;
            s.compressed = IsCompressed(*t);
            s.fill = *p;
          }
        }
        sectors.push_back(s);
      }
      spt = std::max(spt, count);
      max_cyl = std::max(max_cyl, cyl);
    }
    if (spt == 0) return ERR_BAD_IMAGE;
    const std::size_t blocks = std::size_t(max_cyl + 1) * 2 * spt;
    disk.bytes.assign(blocks * kBlockSize, 0);
    disk.unreadable.assign(blocks, true);
    for (const Sector& s : sectors) {
      if (s.id < 1 || s.id > spt) continue;  // not a sector of this layout
      const std::size_t lbn = std::size_t(s.cyl * 2 + s.head) * spt + (s.id - 1);
      std::uint8_t* dst = disk.bytes.data() + lbn * kBlockSize;
      if (s.bytes == nullptr) {
        std::memset(dst, 0, kBlockSize);
        disk.unreadable[lbn] = true;
        continue;
      }
      if (s.compressed)
        std::memset(dst, s.fill, kBlockSize);
      else
        std::memcpy(dst, s.bytes, kBlockSize);
      disk.unreadable[lbn] = false;
    }
    out = std::move(disk);
    return ERR_OK;
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

std::vector<std::uint8_t> BuildImd(std::span<const std::uint8_t> blocks,
                                   const std::vector<bool>& unreadable, int cylinders,
                                   int spt, const std::string& comment) {
  std::vector<std::uint8_t> out;
  char stamp[64];
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "IMD 1.18: %d/%m/%Y %H:%M:%S\r\n", &tm);
  out.insert(out.end(), stamp, stamp + std::strlen(stamp));
  out.insert(out.end(), comment.begin(), comment.end());
  out.push_back(0x1A);
  const std::uint8_t mode = spt == 9 ? 5 : 3;
  const std::size_t have = blocks.size() / kBlockSize;
  for (int cyl = 0; cyl < cylinders; ++cyl) {
    for (int head = 0; head < 2; ++head) {
      out.insert(out.end(), {mode, std::uint8_t(cyl), std::uint8_t(head), std::uint8_t(spt), 2});
      for (int s = 1; s <= spt; ++s) out.push_back(std::uint8_t(s));
      for (int s = 0; s < spt; ++s) {
        const std::size_t lbn = std::size_t(cyl * 2 + head) * spt + s;
        if (lbn >= have || (lbn < unreadable.size() && unreadable[lbn])) {
          out.push_back(0);
          continue;
        }
        const std::uint8_t* p = blocks.data() + lbn * kBlockSize;
        if (std::all_of(p, p + kBlockSize, [&](std::uint8_t b) { return b == p[0]; })) {
          out.push_back(2);
          out.push_back(p[0]);
        } else {
          out.push_back(1);
          out.insert(out.end(), p, p + kBlockSize);
        }
      }
    }
  }
  return out;
}

}  // namespace kelvo
