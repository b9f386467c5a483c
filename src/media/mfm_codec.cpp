#include "media/mfm_codec.h"

namespace kelvo {
namespace {

constexpr std::uint16_t kSyncA1 = 0x4489;  // A1 with a clock cell left out
constexpr std::uint16_t kSyncC2 = 0x5224;  // C2 with a clock cell left out
constexpr std::uint64_t kThreeA1 = 0x448944894489ull;
constexpr std::uint8_t kIdMark = 0xFE, kDataMark = 0xFB, kDeletedMark = 0xF8, kIndexMark = 0xFC;
constexpr std::size_t kSectorBytes = 512;
constexpr int kSizeCode512 = 2;
constexpr int kGap4a = 80, kGap1 = 50, kGap2 = 22, kSyncZeros = 12;
// How far after its ID field a data field may start (in cells): gap 2 and
// the sync bytes are 37 bytes; controllers give up a little later.
constexpr std::size_t kMaxIdToData = 64 * 16;

struct Tables {
  std::uint16_t encode[2][256];  // [previous data bit][byte] -> 16 cells
  std::uint8_t decode4[256];     // the 4 data cells of 8 cells
  std::uint16_t crc[256];
  constexpr Tables() : encode{}, decode4{}, crc{} {
    for (int prev = 0; prev < 2; ++prev) {
      for (int b = 0; b < 256; ++b) {
        std::uint16_t w = 0;
        int last = prev;
        for (int i = 7; i >= 0; --i) {
          const int bit = (b >> i) & 1;
          w = std::uint16_t((w << 2) | ((last == 0 && bit == 0) ? 2 : 0) | bit);
          last = bit;
        }
        encode[prev][b] = w;
      }
    }
    for (int c = 0; c < 256; ++c)
      decode4[c] = std::uint8_t(((c >> 3) & 8) | ((c >> 2) & 4) | ((c >> 1) & 2) | (c & 1));
    for (int i = 0; i < 256; ++i) {
      std::uint16_t r = std::uint16_t(i << 8);
      for (int k = 0; k < 8; ++k) r = std::uint16_t((r & 0x8000) ? (r << 1) ^ 0x1021 : r << 1);
      crc[i] = r;
    }
  }
};
constexpr Tables kTables;

std::uint16_t CrcByte(std::uint16_t crc, std::uint8_t b) {
  return std::uint16_t((crc << 8) ^ kTables.crc[((crc >> 8) ^ b) & 0xFF]);
}

// Writes bytes as MFM, remembering the last data bit for the next clock cell.
class CMfmWriter {
 public:
  explicit CMfmWriter(CellStream& out) : out_(out) {}
  void Byte(std::uint8_t b) {
    out_.Append(kTables.encode[last_][b], 16);
    last_ = b & 1;
  }
  void Fill(std::uint8_t b, int n) {
    for (int i = 0; i < n; ++i) Byte(b);
  }
  void Sync(std::uint16_t cells, int n) {
    for (int i = 0; i < n; ++i) out_.Append(cells, 16);
    last_ = cells & 1;
  }
  // A field after three A1 marks, with its CRC.
  void Field(std::uint8_t mark, const std::uint8_t* body, std::size_t n, bool bad_crc = false) {
    Fill(0x00, kSyncZeros);
    Sync(kSyncA1, 3);
    std::uint16_t crc = CrcByte(CrcByte(CrcByte(0xFFFF, 0xA1), 0xA1), 0xA1);
    crc = CrcByte(crc, mark);
    Byte(mark);
    for (std::size_t i = 0; i < n; ++i) {
      crc = CrcByte(crc, body[i]);
      Byte(body[i]);
    }
    if (bad_crc) crc = std::uint16_t(~crc);
    Byte(std::uint8_t(crc >> 8));
    Byte(std::uint8_t(crc));
  }

 private:
  CellStream& out_;
  int last_ = 0;
};

// 16 cells from `pos` (caller keeps pos + 16 <= cells).
std::uint16_t Cells16(const std::uint8_t* bits, std::size_t pos) {
  const std::size_t i = pos >> 3;
  const std::uint32_t w = (std::uint32_t(bits[i]) << 16) | (std::uint32_t(bits[i + 1]) << 8) |
                          ((pos & 7) ? bits[i + 2] : 0u);
  return std::uint16_t(w >> (8 - (pos & 7)));
}

std::uint8_t ByteAt(const std::uint8_t* bits, std::size_t pos) {
  const std::uint16_t w = Cells16(bits, pos);
  return std::uint8_t((kTables.decode4[w >> 8] << 4) | kTables.decode4[w & 0xFF]);
}

// The cell just after the next three A1 marks at or after `from`, or `cells`.
std::size_t FindSync(const std::uint8_t* bits, std::size_t cells, std::size_t from) {
  const std::size_t nbytes = cells / 8;
  std::uint64_t reg = 0;
  for (std::size_t i = from / 8; i < nbytes; ++i) {
    reg = (reg << 8) | bits[i];
    const std::size_t end = (i + 1) * 8;  // cell after the byte just loaded
    for (int k = 7; k >= 0; --k) {
      if (((reg >> k) & 0xFFFFFFFFFFFFull) == kThreeA1 && end - k >= from + 48) return end - k;
    }
  }
  return cells;
}

}  // namespace

std::uint16_t Crc16Ccitt(std::span<const std::uint8_t> data, std::uint16_t crc) {
  for (std::uint8_t b : data) crc = CrcByte(crc, b);
  return crc;
}

void CellStream::Append(std::uint32_t value, int n) {
  for (int i = n - 1; i >= 0; --i) {
    if ((count & 7) == 0) bits.push_back(0);
    if ((value >> i) & 1) bits.back() |= std::uint8_t(0x80 >> (count & 7));
    ++count;
  }
}

void CellStream::AppendRun(std::size_t zeros, bool one) {
  count += zeros;
  bits.resize((count + (one ? 1 : 0) + 7) / 8, 0);
  if (one) {
    bits[count >> 3] |= std::uint8_t(0x80 >> (count & 7));
    ++count;
  }
}

CellStream EncodeMfmTrack(const FloppyForm& form, int cyl, int head, const std::uint8_t* data,
                          std::uint32_t bad) {
  const std::size_t cells = TrackCells(form.rate_kbps, form.rpm);
  CellStream out;
  out.Reserve(cells);
  CMfmWriter w(out);
  w.Fill(0x4E, kGap4a);
  w.Fill(0x00, kSyncZeros);
  w.Sync(kSyncC2, 3);
  w.Byte(kIndexMark);
  w.Fill(0x4E, kGap1);
  for (int s = 0; s < form.sectors; ++s) {
    const std::uint8_t id[4] = {std::uint8_t(cyl), std::uint8_t(head), std::uint8_t(s + 1),
                                std::uint8_t(kSizeCode512)};
    w.Field(kIdMark, id, sizeof id);
    w.Fill(0x4E, kGap2);
    w.Field(kDataMark, data + std::size_t(s) * kSectorBytes, kSectorBytes, (bad >> s) & 1);
    w.Fill(0x4E, form.gap3);
  }
  while (out.count + 16 <= cells) w.Byte(0x4E);
  // The revolution need not hold a whole number of bytes: end on the cells
  // of one more gap byte.
  if (out.count < cells) out.Append(kTables.encode[0][0x4E] >> (16 - (cells - out.count)),
                                    int(cells - out.count));
  return out;
}

void DecodeMfmTrack(const std::uint8_t* bits, std::size_t cells, std::vector<MfmSector>& out) {
  struct Pending {
    bool valid = false;
    std::size_t end = 0;
    MfmSector sector;
  } pending;
  auto flush = [&] {
    if (pending.valid) out.push_back(pending.sector);
    pending.valid = false;
  };
  constexpr std::uint16_t kAfterSync = 0xCDB4;  // CRC after A1 A1 A1
  std::size_t pos = 0;
  while ((pos = FindSync(bits, cells, pos)) + 16 <= cells) {
    const std::uint8_t mark = ByteAt(bits, pos);
    if (mark == kIdMark && pos + 7 * 16 <= cells) {
      std::uint8_t f[6];
      for (int i = 0; i < 6; ++i) f[i] = ByteAt(bits, pos + 16 * (i + 1));
      std::uint16_t crc = CrcByte(kAfterSync, mark);
      for (int i = 0; i < 4; ++i) crc = CrcByte(crc, f[i]);
      if (crc == ((f[4] << 8) | f[5])) {
        flush();
        pending.valid = true;
        pending.end = pos + 7 * 16;
        pending.sector = MfmSector{};
        pending.sector.cyl = f[0];
        pending.sector.head = f[1];
        pending.sector.id = f[2];
        pending.sector.size_code = f[3];
        pos += 7 * 16;
        continue;
      }
    } else if ((mark == kDataMark || mark == kDeletedMark) && pending.valid &&
               pos - pending.end <= kMaxIdToData) {
      MfmSector& s = pending.sector;
      const std::size_t field = 16 * (1 + kSectorBytes + 2);
      if (s.size_code == kSizeCode512 && pos + field <= cells) {
        std::uint16_t crc = CrcByte(kAfterSync, mark);
        std::size_t p = pos + 16;
        for (std::size_t i = 0; i < kSectorBytes; ++i, p += 16) {
          s.data[i] = ByteAt(bits, p);
          crc = CrcByte(crc, s.data[i]);
        }
        const std::uint16_t stored = std::uint16_t((ByteAt(bits, p) << 8) | ByteAt(bits, p + 16));
        s.data_ok = crc == stored;
        if (!s.data_ok) s.data.fill(0);
        flush();
        // A good field is skipped whole; after a bad one the search goes on
        // just past its mark, in case the mark itself was false.
        pos += s.data_ok ? field : 16;
        continue;
      }
      flush();
    }
    pos += 1;
  }
  flush();
}

}  // namespace kelvo
