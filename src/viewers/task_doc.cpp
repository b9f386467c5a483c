#include "viewers/task_doc.h"

#include <algorithm>
#include <cstdio>

#include "viewers/viewer_message.h"

namespace kelvo {

char TaskRadixChar(unsigned value) {
  if (value >= 1 && value <= 26) return static_cast<char>('A' + value - 1);
  if (value == 27) return '$';
  if (value == 28) return '.';
  if (value >= 30 && value <= 39) return static_cast<char>('0' + value - 30);
  return ' ';
}

std::string TaskDumpLine(const std::uint8_t* chunk, std::size_t n, std::size_t offset) {
  n = std::min(n, kTaskChunk);
  char buf[32];
  std::string line;
  line.reserve(110);
  std::snprintf(buf, sizeof buf, "%08llo: ", static_cast<unsigned long long>(offset));
  line += buf;
  const std::size_t words = n / 2;
  for (std::size_t w = 0; w < words; ++w) {
    const unsigned v = chunk[2 * w] | chunk[2 * w + 1] << 8;
    std::snprintf(buf, sizeof buf, "%06o ", v);
    line += buf;
  }
  line += '|';
  for (std::size_t w = 0; w < words; ++w) {
    const unsigned v = chunk[2 * w] | chunk[2 * w + 1] << 8;
    line += TaskRadixChar(v / 1600);
    line += TaskRadixChar((v / 40) % 40);
    line += TaskRadixChar(v % 40);
  }
  line += '|';
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t c = chunk[i];
    line += (c < 32 || c > 127) ? ' ' : static_cast<char>(c);
  }
  line += '|';
  return line;
}

bool CTaskDoc::Load(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  bytes_ = std::move(bytes);
  return true;
}

void CTaskDoc::LoadBytes(std::string bytes) { bytes_ = std::move(bytes); }

std::size_t CTaskDoc::LineCount() const {
  const std::size_t chunks = (bytes_.size() + kTaskChunk - 1) / kTaskChunk;
  return chunks + chunks / kTaskLinesPerBlock;
}

std::string CTaskDoc::Line(std::size_t i) const {
  if (i >= LineCount()) return {};
  const std::size_t group = i / (kTaskLinesPerBlock + 1);
  const std::size_t within = i % (kTaskLinesPerBlock + 1);
  if (within == kTaskLinesPerBlock) return " ";
  const std::size_t chunk = group * kTaskLinesPerBlock + within;
  const std::size_t offset = chunk * kTaskChunk;
  const std::size_t n = std::min(kTaskChunk, bytes_.size() - offset);
  return TaskDumpLine(reinterpret_cast<const std::uint8_t*>(bytes_.data()) + offset, n, offset);
}

}  // namespace kelvo
