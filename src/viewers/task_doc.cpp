#include "viewers/task_doc.h"

#include <algorithm>
#include <cstdio>

#include "core/radix50.h"

namespace kelvo {

char TaskRadixChar(unsigned value) {
  // One value decoded as the first character of a word; the values that end
  // a name (0, 29, 40 and above) show as a space here.
  if (value >= 40) return ' ';
  char text[3];
  return RadixDecodeTo(static_cast<std::uint16_t>(value * 1600), text) == 0 ? ' ' : text[0];
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
  memory_.clear();
  cached_block_ = SIZE_MAX;
  file_.close();
  file_.clear();
  file_.open(path, std::ios::binary);
  if (!file_) return false;
  file_.seekg(0, std::ios::end);
  const std::streamoff size = file_.tellg();
  if (size < 0) return false;
  size_ = static_cast<std::size_t>(size);
  return true;
}

void CTaskDoc::LoadBytes(const std::string& bytes) {
  file_.close();
  memory_ = bytes;
  size_ = bytes.size();
  cached_block_ = SIZE_MAX;
}

void CTaskDoc::FetchBlock(std::size_t block) const {
  if (block == cached_block_) return;
  const std::size_t at = block * cache_.size();
  std::size_t n = 0;
  if (!file_.is_open()) {
    n = at < memory_.size() ? std::min(cache_.size(), memory_.size() - at) : 0;
    std::copy_n(memory_.data() + (n ? at : 0), n, cache_.data());
  } else {
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(at));
    file_.read(reinterpret_cast<char*>(cache_.data()), static_cast<std::streamsize>(cache_.size()));
    n = static_cast<std::size_t>(std::max<std::streamsize>(file_.gcount(), 0));
  }
  cached_block_ = block;
  cached_length_ = n;
}

std::size_t CTaskDoc::LineCount() const {
  const std::size_t chunks = (size_ + kTaskChunk - 1) / kTaskChunk;
  return chunks + chunks / kTaskLinesPerBlock;
}

std::string CTaskDoc::Line(std::size_t i) const {
  if (i >= LineCount()) return {};
  const std::size_t block = i / (kTaskLinesPerBlock + 1);
  const std::size_t within = i % (kTaskLinesPerBlock + 1);
  if (within == kTaskLinesPerBlock) return " ";
  FetchBlock(block);
  const std::size_t start = within * kTaskChunk;
  if (start >= cached_length_) return {};
  const std::size_t n = std::min(kTaskChunk, cached_length_ - start);
  return TaskDumpLine(cache_.data() + start, n, block * cache_.size() + start);
}

}  // namespace kelvo
