// Builds and reads tape image files for the tape tests, independently of the
// engine's own tape code.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/words.h"

namespace kelvo::test {

class TapeImageBuilder {
 public:
  // A data record; `klass` goes into the top four bits of its length words.
  TapeImageBuilder& Record(const std::string& data, std::uint32_t klass = 0);
  TapeImageBuilder& Filemark();
  TapeImageBuilder& EndOfMedium();
  TapeImageBuilder& EraseGap();
  // Bytes as they stand (for damaged images).
  TapeImageBuilder& Raw(const std::string& bytes);
  // A labelled file: label, data in blocks of `block_size`, one filemark.
  TapeImageBuilder& LabelledFile(const std::string& label, const std::string& data,
                                 std::size_t block_size = 8192);

  const std::string& Bytes() const { return bytes_; }
  void WriteTo(const std::filesystem::path& path) const;

 private:
  std::string bytes_;
};

// The fields of a 128-byte tape label.
struct LabelFields {
  std::string name;  // up to 6 characters
  std::string type;  // 3 characters
  std::uint32_t blocks = 0;
  std::uint16_t last_block_bytes = 0;
  std::uint16_t date = 0;
  std::uint16_t record_length = 512;
  std::uint16_t block_size = 8192;
  bool ascii = true;  // false: the name only in RADIX-50, byte 18 zero
};
std::string MakeLabel(const LabelFields& fields);

// One item of a parsed tape image.
struct TapItem {
  bool filemark = false;
  std::string data;
};
// Parses a well-formed image; fails the current test on damage.
std::vector<TapItem> ParseTapImage(const std::string& bytes);


}  // namespace kelvo::test
