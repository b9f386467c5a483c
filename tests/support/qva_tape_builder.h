// Builds QVA save tapes as sets of tape image files for the QVA tests and
// benchmark: volume header, characteristics block, disk units with their
// Master File Directory, directory sectors and file data, and volume breaks
// with their end-of-volume and continuation records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/tape_builder.h"
#include "support/test_support.h"

namespace kelvo::test {

struct QvaFile {
  std::string name;  // up to 6 characters
  std::string data;  // zero-padded to whole 512-byte blocks on the tape
  std::uint16_t record_length = 512;
  std::uint16_t last_block_bytes = 0;
  // Nonzero: the block count goes to w6:w7 with w2 = this selector, and
  // w4:w5 holds a wrong count.
  std::uint16_t selector = 0;
  // Nonzero: the directory claims this many blocks instead of the data's.
  std::uint32_t claimed_blocks = 0;
};

struct QvaType {
  std::string type;  // three characters
  std::vector<QvaFile> files;
  // Directory sectors written: at least enough for the files (23 each).
  std::size_t sectors = 0;
  // Directory sectors per tape block; 0: all in one block.
  std::size_t sectors_per_block = 0;
};

struct QvaUnit {
  std::string system_id = "QVA TEST SYSTEM";
  int marker_word4 = 0;  // nonzero: a disk-unit marker with this word 4
  std::vector<QvaType> types;
};

// A binary file of `blocks` blocks of SeededBytes.
QvaFile QvaBinaryFile(const std::string& name, std::size_t blocks, unsigned seed);

// A source file's data: `lines` as 80-byte records, six to a block, and its
// last-block byte count.
QvaFile QvaSourceFile(const std::string& name, const std::vector<std::string>& lines);

class QvaTapeBuilder {
 public:
  explicit QvaTapeBuilder(std::size_t data_block_size = 8192);

  // Volume header (its first four bytes replaceable) and filemark.
  QvaTapeBuilder& VolumeHeader(const std::string& first_bytes = std::string("\x77\x00\x08\x02", 4));
  // The characteristics block (`size` bytes) and filemark.
  QvaTapeBuilder& Characteristics(std::size_t size = 128);
  // A whole disk unit: marker, Master File Directory, per type its
  // directory and data, and the closing filemark.
  QvaTapeBuilder& Unit(const QvaUnit& unit);
  // The start of a standard tape: volume header and characteristics block.
  QvaTapeBuilder& Start() { return VolumeHeader().Characteristics(); }

  // Raw pieces.
  QvaTapeBuilder& Block(const std::string& data);
  QvaTapeBuilder& Filemark();
  // Ends the current volume with an end-of-volume record and begins the
  // next with its continuation record.
  QvaTapeBuilder& EndVolume();
  // Ends the current volume automatically once this many further blocks
  // (data, directory or other) have been written.
  QvaTapeBuilder& BreakVolumeAfter(std::size_t blocks);

  std::size_t VolumeCount() const { return volumes_.size(); }
  const std::string& VolumeBytes(std::size_t index) const { return volumes_[index].Bytes(); }
  // Writes volume i to `stem`i+1".tap" in `folder`; returns the paths.
  std::vector<std::string> WriteVolumes(const std::filesystem::path& folder,
                                        const std::string& stem = "vol") const;

  static std::string MasterFileDirectory(const std::string& system_id,
                                         const std::vector<std::string>& types);
  static std::string ControlRecord(std::uint16_t w0, std::uint16_t w1, std::uint16_t w4 = 0);
  static std::string EndOfVolumeRecord();
  // Directory sectors for `files` (at least `sectors` of them), chained.
  static std::vector<std::string> DirectorySectors(const std::vector<QvaFile>& files,
                                                   std::size_t sectors);

 private:
  std::size_t data_block_size_;
  std::vector<TapeImageBuilder> volumes_;
  std::size_t break_countdown_ = 0;
};

// Joins paths with commas: the device string of a multi-volume set.
std::string JoinVolumes(const std::vector<std::string>& paths);

}  // namespace kelvo::test
