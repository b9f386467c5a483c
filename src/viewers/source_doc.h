// CSourceDoc: a printer source file (patch, form source, job source or
// command file) as lines of text, whether stored as PC text or as 80-byte
// records six to a 512-byte block.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// Source types by extension.
inline constexpr int kSourcePatch = 0;        // .pch
inline constexpr int kSourceFormSource = 1;   // .fsl
inline constexpr int kSourceJobSource = 2;    // .jsl
inline constexpr int kSourceCommandFile = 4;  // .cmd

// The source type of `path` by its extension (ignoring case), or -1.
int SourceTypeOfPath(const std::string& path);

inline constexpr std::size_t kSourceRecordSize = 80;
inline constexpr std::size_t kSourceBlockSize = 512;
// How many leading bytes decide between text and records.
inline constexpr std::size_t kSourceProbeSize = 82;

class CSourceDoc {
 public:
  // Loads `path`. False, silently, for an extension that is not a source
  // extension or a file that cannot be read.
  bool Load(const std::string& path);
  // Loads file contents already in memory as a source of `sourceType`.
  void LoadBytes(const std::string& file, int sourceType);

  int SourceType() const { return type_; }
  bool IsRecords() const { return records_; }
  std::size_t LineCount() const { return starts_.empty() ? 0 : starts_.size() - 1; }
  // The text of line `i` (without line end); empty past the last line.
  std::string_view Line(std::size_t i) const;

 private:
  void AddLine(const char* data, std::size_t size);

  int type_ = kSourcePatch;
  bool records_ = false;
  std::string text_;                 // every line's text, one after another
  std::vector<std::size_t> starts_;  // line i is text_[starts_[i], starts_[i + 1])
};

}  // namespace kelvo
