#include "viewers/source_doc.h"

#include <algorithm>
#include <cstring>

#include "core/whole_file.h"
#include "filetypes/file_types.h"
#include "viewers/viewer_message.h"

namespace kelvo {

int SourceTypeOfPath(const std::string& path) {
  switch (GetViewerKind(FileNamePart(path))) {
    case ViewerKind::CommandFile: return kSourceCommandFile;
    case ViewerKind::FormSourceFile: return kSourceFormSource;
    case ViewerKind::JobSourceFile: return kSourceJobSource;
    case ViewerKind::PatchFile: return kSourcePatch;
    default: return -1;
  }
}

bool CSourceDoc::Load(const std::string& path) {
  const int type = SourceTypeOfPath(path);
  if (type < 0) return false;
  std::string file;
  if (ReadWholeFile(path, file) != ERR_OK) return false;
  LoadBytes(file, type);
  return true;
}

void CSourceDoc::AddLine(const char* data, std::size_t size) {
  if (starts_.empty()) starts_.push_back(0);
  text_.append(data, size);
  starts_.push_back(text_.size());
}

void CSourceDoc::LoadBytes(const std::string& file, int sourceType) {
  type_ = sourceType;
  text_.clear();
  starts_.assign(1, 0);
  text_.reserve(file.size());
  const std::size_t probe = std::min(file.size(), kSourceProbeSize);
  records_ = std::memchr(file.data(), '\n', probe) == nullptr;
  const char* p = file.data();
  const std::size_t size = file.size();
  if (!records_) {
    // Text: lines end at line feeds; a carriage return before one is part of
    // the line end, and a last line without a line feed still counts.
    std::size_t at = 0;
    while (at < size) {
      const char* nl = static_cast<const char*>(std::memchr(p + at, '\n', size - at));
      const std::size_t end = nl ? static_cast<std::size_t>(nl - p) : size;
      std::size_t len = end - at;
      if (len > 0 && p[at + len - 1] == '\r') --len;
      AddLine(p + at, len);
      at = end + 1;
    }
    return;
  }
  // Records: whole 80-byte records of each block; a record holding a zero
  // byte ends its block, and the 32 bytes after six records are filler.
  for (std::size_t block = 0; block < size; block += kSourceBlockSize) {
    const std::size_t got = std::min(kSourceBlockSize, size - block);
    for (std::size_t r = 0; r < got / kSourceRecordSize; ++r) {
      const char* rec = p + block + r * kSourceRecordSize;
      if (std::memchr(rec, '\0', kSourceRecordSize) != nullptr) break;
      AddLine(rec, kSourceRecordSize);
    }
  }
}

std::string_view CSourceDoc::Line(std::size_t i) const {
  if (i >= LineCount()) return {};
  return std::string_view(text_).substr(starts_[i], starts_[i + 1] - starts_[i]);
}

}  // namespace kelvo
