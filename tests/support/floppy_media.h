// Builders of emulated floppy media for the floppy tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "media/emulated_floppy.h"
#include "support/words.h"

namespace kelvo::test {

// Size in bytes of a raw 80-cylinder medium with `spt` sectors per track.
std::size_t MediumBytes(int spt);

// Writes a raw medium of 80 cylinders whose block n is filled with the byte
// (n * 7 + seed) & 0xFF, so misplaced blocks are told apart.
void WritePatternMedium(const std::filesystem::path& path, int spt, int seed = 0);

// Reads the whole file as bytes.
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);

// The expected byte of block `lbn` of a pattern medium.
inline std::uint8_t PatternByte(std::uint32_t lbn, int seed = 0) {
  return static_cast<std::uint8_t>((lbn * 7 + static_cast<std::uint32_t>(seed)) & 0xFF);
}

// Rewrites block 1 of a medium file as a minimal volume block: the Kelvo
// mark at byte 100, highest LBN and sectors per track as given.
void WriteVolumeWords(const std::filesystem::path& path, std::uint16_t highest_lbn,
                      std::uint16_t sectors_per_track);

// Writes a raw 80-cylinder medium in the geometry of `code` holding an empty
// printer file system (disk ID `id`), with every block from 80 on filled
// with the pattern of `seed`.
void WriteKelvoMedium(const std::filesystem::path& path, int media_code,
                      const std::string& id = "TEST DISK", int seed = 0);

// Writes `disk` (the first blocks of a printer disk) over the start of a
// raw 80-cylinder medium with `spt` sectors per track.
void WriteDiskOnMedium(const std::filesystem::path& path, int spt,
                       const std::vector<std::uint8_t>& disk);

// An emulated drive (3.5-inch unless `five_inch`) whose medium is `path`.
std::shared_ptr<CEmulatedFloppy> MakeEmulatedFloppy(const std::filesystem::path& path,
                                                    bool five_inch = false);

}  // namespace kelvo::test
