#include "media/hfe_image.h"

#include <algorithm>
#include <cstring>

#include "media/media_kind.h"

namespace kelvo {
namespace {

constexpr std::size_t kBlock = 512, kHalf = 256;
constexpr char kSignatureV1[] = "HXCPICFE";
constexpr char kSignatureV3[] = "HXCHFEV3";
constexpr std::uint8_t kEncodingIbmMfm = 0;
constexpr std::uint8_t kInterfaceIbmPcDd = 0, kInterfaceIbmPcHd = 1;
// The track is a ring: cells from its start are read again after its end so
// that a sector written across the end is found (one sector is ~10,600 cells).
constexpr std::size_t kWrapCells = 12000;

// Version 3 opcodes, as they read once a byte's bits are put in time order.
enum : std::uint8_t { kNop = 0xF0, kSetIndex = 0xF1, kSetBitrate = 0xF2, kSkipBits = 0xF3, kRand = 0xF4 };

struct ReverseTable {
  std::uint8_t r[256];
  constexpr ReverseTable() : r{} {
    for (int i = 0; i < 256; ++i) {
      int v = 0;
      for (int b = 0; b < 8; ++b) v |= ((i >> b) & 1) << (7 - b);
      r[i] = std::uint8_t(v);
    }
  }
};
constexpr ReverseTable kReverse;

std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
void PutLe16(std::uint8_t* p, unsigned v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
}

// One side of a cylinder as bytes in time order (bits reversed), as far as
// the file holds them.
std::vector<std::uint8_t> SideBytes(std::span<const std::uint8_t> data, std::size_t offset_blocks,
                                    std::size_t side_len, int head) {
  std::vector<std::uint8_t> out;
  out.reserve(side_len);
  for (std::size_t k = 0; k < side_len; k += kHalf) {
    const std::size_t at = (offset_blocks + k / kHalf) * kBlock + std::size_t(head) * kHalf;
    if (at >= data.size()) break;
    const std::size_t n = std::min({kHalf, side_len - k, data.size() - at});
    for (std::size_t i = 0; i < n; ++i) out.push_back(kReverse.r[data[at + i]]);
    if (n < kHalf && n < side_len - k) break;
  }
  return out;
}

// Version 3: byte-aligned F0-FF bytes are opcodes (valid MFM never forms
// one). Opcodes not listed are skipped like NOP.
CellStream V3Cells(const std::vector<std::uint8_t>& bytes) {
  CellStream cells;
  cells.Reserve(bytes.size() * 8);
  std::uint32_t weak = 0x2545F491u;  // weak cells read as pseudo-random bits
  auto weak_bits = [&](int n) {
    weak ^= weak << 13;
    weak ^= weak >> 17;
    weak ^= weak << 5;
    cells.Append(weak & 0xFF, n);
  };
  for (std::size_t i = 0; i < bytes.size();) {
    const std::uint8_t b = bytes[i];
    if ((b & 0xF0) != 0xF0) {
      cells.Append(b, 8);
      ++i;
    } else if (b == kSetBitrate) {
      i += 2;
    } else if (b == kSkipBits) {
      if (i + 2 >= bytes.size()) break;
      const int skip = bytes[i + 1] & 7;
      if (bytes[i + 2] == kRand) weak_bits(8 - skip);
      else cells.Append(bytes[i + 2] & (0xFFu >> skip), 8 - skip);
      i += 3;
    } else {
      if (b == kRand) weak_bits(8);
      ++i;  // NOP, SETINDEX and the rest
    }
  }
  return cells;
}

}  // namespace

bool LooksLikeHfe(std::span<const std::uint8_t> data) {
  return data.size() >= 8 && (std::memcmp(data.data(), kSignatureV1, 8) == 0 ||
                              std::memcmp(data.data(), kSignatureV3, 8) == 0);
}

ErrorCode ParseHfe(std::span<const std::uint8_t> data, TrackDisk& out) {
  try {
    if (!LooksLikeHfe(data) || data.size() < kBlock) return ERR_BAD_IMAGE;
    const bool v3 = std::memcmp(data.data(), kSignatureV3, 8) == 0;
    // Revision 1 ("v2") is read as version 1: its tracks are laid out alike.
    const int cylinders = std::min<int>(data[0x09], kMaxImageCylinders);
    const int sides = data[0x0A];
    if (data[0x08] > 1 || cylinders == 0 || sides < 1 || sides > kHeads) return ERR_BAD_IMAGE;
    // The track list offset is honoured when it lies in the file; one reader
    // of version 3 always uses block 1, which is also where writers put it.
    std::size_t list = std::size_t(Le16(data.data() + 0x12)) * kBlock;
    if (list == 0 || list + std::size_t(cylinders) * 4 > data.size()) list = kBlock;
    if (list + std::size_t(cylinders) * 4 > data.size()) return ERR_BAD_IMAGE;

    CTrackSectorCollector collector(cylinders);
    std::vector<MfmSector> sectors;
    for (int cyl = 0; cyl < cylinders; ++cyl) {
      const std::uint8_t* entry = data.data() + list + std::size_t(cyl) * 4;
      const std::size_t offset = Le16(entry), side_len = Le16(entry + 2) / 2u;
      for (int head = 0; head < sides; ++head) {
        std::vector<std::uint8_t> bytes = SideBytes(data, offset, side_len, head);
        CellStream cells;
        if (v3) {
          cells = V3Cells(bytes);
        } else {
          cells.count = bytes.size() * 8;
          cells.bits = std::move(bytes);
        }
        const std::size_t ring = cells.count;
        for (std::size_t i = 0; i < std::min(ring, kWrapCells); ++i) cells.Append(cells.At(i), 1);
        sectors.clear();
        DecodeMfmTrack(cells.bits.data(), cells.count, sectors);
        collector.Take(cyl, head, 0, sectors);
      }
    }
    TrackDisk disk;
    if (ErrorCode err = collector.Finish(disk)) return err;
    disk.rate_kbps = Le16(data.data() + 0x0C);
    disk.rpm = Le16(data.data() + 0x0E);
    out = std::move(disk);
    return ERR_OK;
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

std::vector<std::uint8_t> BuildHfe(std::span<const std::uint8_t> blocks, const FloppyForm& form,
                                   int cylinders, const std::vector<bool>& unreadable) {
  // Whole bytes of cells per side: the revolution is cut to a multiple of 8
  // cells (a few microseconds of gap 4b), as emulators play whole bytes.
  const std::size_t side_len = TrackCells(form.rate_kbps, form.rpm) / 8;
  const std::size_t track_blocks = (side_len + kHalf - 1) / kHalf;
  const std::size_t first_track = 2;  // header, track list
  std::vector<std::uint8_t> out((first_track + std::size_t(cylinders) * track_blocks) * kBlock, 0);

  std::uint8_t* h = out.data();
  std::memset(h, 0xFF, kBlock);  // unused bytes, and no other encoding for track 0
  std::memcpy(h, kSignatureV1, 8);
  h[0x08] = 0;  // format revision
  h[0x09] = std::uint8_t(cylinders);
  h[0x0A] = kHeads;
  h[0x0B] = kEncodingIbmMfm;
  PutLe16(h + 0x0C, unsigned(form.rate_kbps));
  PutLe16(h + 0x0E, unsigned(form.rpm));
  h[0x10] = form.rate_kbps >= 500 ? kInterfaceIbmPcHd : kInterfaceIbmPcDd;
  h[0x11] = 0x01;
  PutLe16(h + 0x12, 1);  // track list in block 1
  h[0x14] = 0xFF;        // writable
  h[0x15] = 0xFF;        // single step
  std::memset(out.data() + kBlock, 0xFF, kBlock);

  const std::size_t per_track = std::size_t(form.sectors) * kBlockSize;
  std::vector<std::uint8_t> track(per_track);
  for (int cyl = 0; cyl < cylinders; ++cyl) {
    const std::size_t offset = first_track + std::size_t(cyl) * track_blocks;
    PutLe16(out.data() + kBlock + std::size_t(cyl) * 4, unsigned(offset));
    PutLe16(out.data() + kBlock + std::size_t(cyl) * 4 + 2, unsigned(side_len * 2));
    for (int head = 0; head < kHeads; ++head) {
      const std::size_t begin = (std::size_t(cyl) * kHeads + head) * per_track;
      std::fill(track.begin(), track.end(), 0);
      if (begin < blocks.size())
        std::memcpy(track.data(), blocks.data() + begin, std::min(per_track, blocks.size() - begin));
      std::uint32_t bad = 0;
      const std::size_t first = (std::size_t(cyl) * kHeads + head) * form.sectors;
      for (int s = 0; s < form.sectors; ++s)
        if (first + s < unreadable.size() && unreadable[first + s]) bad |= 1u << s;
      const CellStream cells = EncodeMfmTrack(form, cyl, head, track.data(), bad);
      for (std::size_t k = 0; k < side_len; ++k)
        out[(offset + k / kHalf) * kBlock + std::size_t(head) * kHalf + k % kHalf] =
            kReverse.r[cells.bits[k]];
    }
  }
  return out;
}

}  // namespace kelvo
