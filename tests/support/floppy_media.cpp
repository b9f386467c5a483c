#include "support/floppy_media.h"

#include <fstream>
#include <iterator>

namespace kelvo::test {

std::size_t MediumBytes(int spt) { return std::size_t{80} * 2 * static_cast<std::size_t>(spt) * 512; }

void WritePatternMedium(const std::filesystem::path& path, int spt, int seed) {
  std::vector<std::uint8_t> bytes(MediumBytes(spt));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = PatternByte(static_cast<std::uint32_t>(i / 512), seed);
  }
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
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(512);
  f.write(reinterpret_cast<const char*>(block.data()), 512);
}

}  // namespace kelvo::test

#include "diskfs/create_file_system.h"
#include "media/media_kind.h"

namespace kelvo::test {

void WriteKelvoMedium(const std::filesystem::path& path, int media_code, const std::string& id,
                      int seed) {
  auto code = static_cast<MediaKind>(media_code);
  WritePatternMedium(path, SectorsPerTrack(code), seed);
  std::vector<std::uint8_t> system(80 * 512);
  int blocks = 0;
  CreateFileSystem(system, code, id, blocks);
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.write(reinterpret_cast<const char*>(system.data()), static_cast<std::streamsize>(system.size()));
}

}  // namespace kelvo::test

namespace kelvo::test {

void WriteDiskOnMedium(const std::filesystem::path& path, int spt,
                       const std::vector<std::uint8_t>& disk) {
  WritePatternMedium(path, spt);
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.write(reinterpret_cast<const char*>(disk.data()), static_cast<std::streamsize>(disk.size()));
}

}  // namespace kelvo::test

namespace kelvo::test {

std::shared_ptr<CEmulatedFloppy> MakeEmulatedFloppy(const std::filesystem::path& path,
                                                    bool five_inch) {
  EmulatedFloppyOptions o;
  o.path = path.string();
  o.five_inch = five_inch;
  return std::make_shared<CEmulatedFloppy>(o);
}

}  // namespace kelvo::test
