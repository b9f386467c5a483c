// MFM tracks as a PC floppy controller formats and reads them: gaps, sync
// marks, ID and data address marks, CRC-CCITT; cells to sectors and back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "media/floppy_form.h"

namespace kelvo {

// CRC-16-CCITT as the controller computes it: polynomial 0x1021, MSB first,
// started at `crc` (0xFFFF before the first sync mark), no final inversion.
std::uint16_t Crc16Ccitt(std::span<const std::uint8_t> data, std::uint16_t crc = 0xFFFF);

// A run of MFM cells, one bit each (1 = a flux transition), packed with the
// first cell in time in the most significant bit of the first byte.
struct CellStream {
  std::vector<std::uint8_t> bits;
  std::size_t count = 0;

  void Reserve(std::size_t cells) { bits.reserve((cells + 7) / 8); }
  // Appends the low `n` bits of `value` (n <= 32), most significant first.
  void Append(std::uint32_t value, int n);
  // Appends `n` zero cells and then, when `one`, a 1 cell.
  void AppendRun(std::size_t zeros, bool one);
  bool At(std::size_t i) const { return (bits[i >> 3] >> (7 - (i & 7))) & 1; }
};

// Encodes cylinder `cyl`, head `head` of `form` as the controller formats it
// (gap 4a, index mark, gap 1, then per sector ID field, gap 2, data field and
// gap 3, filled with gap bytes to the end of the revolution). `data` holds
// the track's sectors 1..form.sectors, 512 bytes each. Sectors whose bit
// (sector - 1) is set in `bad` get a data CRC that fails, as on the disk
// they were read from.
CellStream EncodeMfmTrack(const FloppyForm& form, int cyl, int head, const std::uint8_t* data,
                          std::uint32_t bad = 0);

// One sector found on a track: its ID field (CRC good) and its data.
struct MfmSector {
  std::uint8_t cyl = 0, head = 0, id = 0, size_code = 0;
  bool data_ok = false;  // a data field of 512 bytes followed and its CRC held
  std::array<std::uint8_t, 512> data{};
};

// Finds the sectors of a track in `cells` cells of `bits` (packed as in
// CellStream). Only ID fields whose CRC holds are reported; a sector whose
// data field is missing, of another size or fails its CRC is reported with
// data_ok false. The work is linear in the number of cells.
void DecodeMfmTrack(const std::uint8_t* bits, std::size_t cells, std::vector<MfmSector>& out);

}  // namespace kelvo
