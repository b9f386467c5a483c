#include "support/flux_image_builder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/mfm_codec.h"
#include "support/words.h"

namespace kelvo::test {
namespace {

constexpr double kTickNs = 25.0;
constexpr std::size_t kBlock = 512;

struct Random {
  std::uint32_t state;
  double Unit() {  // -1 .. 1
    state = state * 1664525u + 1013904223u;
    return double(state >> 8) / double(1u << 23) - 1.0;
  }
};

// The cell where byte `k` of sector `s`'s data field lies: 146 bytes before
// the first sector, 574 + gap 3 per sector, the data 60 bytes into it.
std::size_t DataCell(const FloppyForm& form, int s, int k) {
  return 16 * (146 + std::size_t(s - 1) * (574 + form.gap3) + 60 + std::size_t(k));
}

std::uint8_t Reverse(std::uint8_t b) {
  std::uint8_t r = 0;
  for (int i = 0; i < 8; ++i) r = std::uint8_t(r | (((b >> i) & 1) << (7 - i)));
  return r;
}

}  // namespace

std::vector<std::uint8_t> BuildScpImage(std::span<const std::uint8_t> blocks, const FloppyForm& form,
                                        const FluxOptions& o) {
  std::vector<std::uint8_t> out(0x2B0, 0);
  std::memcpy(out.data(), "SCP", 3);
  out[3] = 0x24;
  out[4] = form.sectors == 15 ? 0x32 : 0x31;
  out[5] = std::uint8_t(o.revolutions);
  out[6] = 0;
  out[7] = std::uint8_t(o.cylinders * 2 - 1);
  out[8] = std::uint8_t(0x01 | 0x02 | (form.rpm == 360 ? 0x04 : 0));  // index-cued, 96 tpi
  Random rnd{o.seed};
  const double cell_ticks = 1e6 / (2.0 * form.rate_kbps) / kTickNs;
  const std::size_t per_track = std::size_t(form.sectors) * kBlock;
  std::vector<std::uint8_t> track(per_track);
  for (int cyl = 0; cyl < o.cylinders; ++cyl) {
    for (int head = 0; head < 2; ++head) {
      const int t = cyl * 2 + head;
      const std::size_t begin = std::size_t(t) * per_track;
      std::fill(track.begin(), track.end(), 0);
      if (begin < blocks.size())
        std::memcpy(track.data(), blocks.data() + begin, std::min(per_track, blocks.size() - begin));
      const CellStream cells = EncodeMfmTrack(form, cyl, head, track.data());
      const std::size_t header = out.size();
      PutLe32(out, 0x10 + 4 * std::size_t(t), std::uint32_t(header));
      out.resize(header + 4 + 12 * std::size_t(o.revolutions), 0);
      std::memcpy(&out[header], "TRK", 3);
      out[header + 3] = std::uint8_t(t);
      for (int r = 0; r < o.revolutions; ++r) {
        std::vector<bool> bad(cells.count, false);
        for (const FluxDamage& d : o.damage)
          if (d.cyl == cyl && d.head == head && (d.revolution == r || d.revolution < 0))
            for (std::size_t c = DataCell(form, d.sector, 100); c < DataCell(form, d.sector, 104); ++c)
              bad[c] = true;
        const std::size_t start = out.size();
        const double phase = 0.7 * r + 0.3 * t;
        double time = 0, last = 0, speed = 1;
        std::uint32_t entries = 0;
        for (std::size_t i = 0; i < cells.count; ++i) {
          if (i % 16 == 0) speed = 1 + o.drift * std::sin(2 * M_PI * 1.5 * double(i) / double(cells.count) + phase);
          time += cell_ticks * speed;
          // A bad spot reads its data cells inverted (and no clock cells).
          const bool flux = bad[i] ? (i % 2 == 1 && !cells.At(i)) : cells.At(i);
          if (!flux) continue;
          const double at = time + o.jitter * cell_ticks * rnd.Unit();
          std::uint32_t interval = std::uint32_t(std::lround(std::max(1.0, at - last)));
          last = at;
          for (; interval > 0xFFFF; interval -= 0x10000, ++entries) out.insert(out.end(), {0, 0});
          out.push_back(std::uint8_t(interval >> 8));
          out.push_back(std::uint8_t(interval));
          ++entries;
        }
        const std::size_t desc = header + 4 + 12 * std::size_t(r);
        PutLe32(out, desc, std::uint32_t(std::lround(time)));
        PutLe32(out, desc + 4, entries);
        PutLe32(out, desc + 8, std::uint32_t(start - header));
      }
    }
  }
  std::uint32_t sum = 0;
  for (std::size_t i = 0x10; i < out.size(); ++i) sum += out[i];
  PutLe32(out, 0x0C, sum);
  return out;
}

std::vector<std::uint8_t> HfeVersion3(std::span<const std::uint8_t> v1) {
  const int cylinders = v1[9];
  const std::size_t list = kBlock;
  auto le16 = [&](std::size_t at) { return std::size_t(v1[at] | (v1[at + 1] << 8)); };
  const int rate = int(le16(0x0C));
  std::vector<std::vector<std::uint8_t>> sides;  // time order, v3 bytes
  for (int cyl = 0; cyl < cylinders; ++cyl) {
    const std::size_t offset = le16(list + 4 * cyl), side_len = le16(list + 4 * cyl + 2) / 2;
    for (int head = 0; head < 2; ++head) {
      CellStream cells;
      for (std::size_t k = 0; k < side_len; ++k)
        cells.Append(Reverse(v1[(offset + k / 256) * kBlock + head * 256 + k % 256]), 8);
      std::vector<std::uint8_t> s = {0xF1, 0xF2, std::uint8_t(36000 / (2 * rate))};
      auto byte_at = [&](std::size_t c, int n) {
        std::uint8_t b = 0;
        for (int i = 0; i < n; ++i) b = std::uint8_t((b << 1) | cells.At(c + i));
        return b;
      };
      std::size_t c = 0;
      for (; c < 300 * 16; c += 8) s.push_back(byte_at(c, 8));  // into sector 1's data
      s.insert(s.end(), {0xF0, 0xF3, 3, byte_at(c, 5)});
      for (c += 5; c + 8 <= cells.count; c += 8) s.push_back(byte_at(c, 8));
      const int rest = int(cells.count - c);
      if (rest > 0) s.insert(s.end(), {0xF3, std::uint8_t(8 - rest), byte_at(c, rest)});
      s.push_back(0xF4);
      sides.push_back(std::move(s));
    }
  }
  std::size_t longest = 0;
  for (const auto& s : sides) longest = std::max(longest, s.size());
  const std::size_t track_blocks = (longest + 255) / 256;
  std::vector<std::uint8_t> out((2 + cylinders * track_blocks) * kBlock, 0);
  std::memcpy(out.data(), v1.data(), 2 * kBlock);
  std::memcpy(out.data(), "HXCHFEV3", 8);
  for (int cyl = 0; cyl < cylinders; ++cyl) {
    const std::size_t offset = 2 + cyl * track_blocks;
    out[list + 4 * cyl] = std::uint8_t(offset);
    out[list + 4 * cyl + 1] = std::uint8_t(offset >> 8);
    const std::size_t len = 2 * sides[2 * cyl].size();
    out[list + 4 * cyl + 2] = std::uint8_t(len);
    out[list + 4 * cyl + 3] = std::uint8_t(len >> 8);
    for (int head = 0; head < 2; ++head) {
      const auto& s = sides[2 * cyl + head];
      for (std::size_t k = 0; k < s.size(); ++k)
        out[(offset + k / 256) * kBlock + head * 256 + k % 256] = Reverse(s[k]);
    }
  }
  return out;
}

}  // namespace kelvo::test
