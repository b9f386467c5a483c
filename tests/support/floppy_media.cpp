#include "support/floppy_media.h"

#include <fstream>
#include <iterator>

#include "diskfs/create_file_system.h"
#include "media/media_kind.h"

namespace kelvo::test {
namespace {

// Writes `bytes` into the file at `path` from byte `at` on.
void Overwrite(const std::filesystem::path& path, std::size_t at, const std::vector<std::uint8_t>& bytes) {
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(static_cast<std::streamoff>(at));
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

std::size_t MediumBytes(int spt) { return std::size_t{80} * 2 * static_cast<std::size_t>(spt) * 512; }

void WritePatternMedium(const std::filesystem::path& path, int spt, int seed) {
  std::vector<std::uint8_t> bytes(MediumBytes(spt));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = PatternByte(static_cast<std::uint32_t>(i / 512), seed);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteVolumeWords(const std::filesystem::path& path, std::uint16_t highest_lbn,
                      std::uint16_t sectors_per_track) {
  std::vector<std::uint8_t> block(512, 0);
  PutWord(block, 2, highest_lbn);
  PutWord(block, 4, 2);
  PutWord(block, 6, sectors_per_track);
  PutWord(block, 100, 0xACC3);
  Overwrite(path, 512, block);
}

void WriteKelvoMedium(const std::filesystem::path& path, int media_code, const std::string& id,
                      int seed) {
  auto code = static_cast<MediaKind>(media_code);
  WritePatternMedium(path, SectorsPerTrack(code), seed);
  std::vector<std::uint8_t> system(80 * 512);
  int blocks = 0;
  CreateFileSystem(system, code, id, blocks);
  Overwrite(path, 0, system);
}

void WriteDiskOnMedium(const std::filesystem::path& path, int spt,
                       const std::vector<std::uint8_t>& disk) {
  WritePatternMedium(path, spt);
  Overwrite(path, 0, disk);
}

std::shared_ptr<CEmulatedFloppy> MakeEmulatedFloppy(const std::filesystem::path& path,
                                                    bool five_inch) {
  EmulatedFloppyOptions o;
  o.path = path.string();
  o.five_inch = five_inch;
  return std::make_shared<CEmulatedFloppy>(o);
}

}  // namespace kelvo::test
