#include "filetypes/file_types.h"

#include <algorithm>

#include "filetypes/file_names.h"

namespace kelvo {

namespace {

struct ViewerExtension {
  std::string_view extension;
  ViewerKind kind;
};

// In the order they are tested.
constexpr std::array<ViewerExtension, 7> kViewerExtensions = {{
    {".pch", ViewerKind::PatchFile},
    {".jsl", ViewerKind::JobSourceFile},
    {".fsl", ViewerKind::FormSourceFile},
    {".fnt", ViewerKind::Font},
    {".tsk", ViewerKind::Task},
    {".img", ViewerKind::Image},
    {".cmd", ViewerKind::CommandFile},
}};

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

const FileTypeInfo* FindFileType(std::string_view code) {
  for (const FileTypeInfo& info : FileTypeCodes) {
    if (EqualsNoCase(info.code, code)) return &info;
  }
  return nullptr;
}

std::string GetFileTypeDescription(std::string_view code) {
  const FileTypeInfo* info = FindFileType(code);
  return info ? std::string(info->description) : std::string();
}

std::vector<std::string> TypeDirectoryLabels() {
  std::vector<std::string> labels;
  labels.reserve(FileTypeCodes.size());
  for (const FileTypeInfo& info : FileTypeCodes) {
    std::string label(info.code);
    for (char& c : label) c = LowerAscii(c);
    labels.push_back(std::move(label));
  }
  std::sort(labels.begin(), labels.end());
  return labels;
}

ViewerKind GetViewerKind(std::string_view name) {
  const std::string_view extension = SplitFileName(name).extension;
  if (extension.empty()) return ViewerKind::None;
  for (const ViewerExtension& v : kViewerExtensions) {
    if (EqualsNoCase(v.extension, extension)) return v.kind;
  }
  return ViewerKind::None;
}

std::string_view ViewerDocumentName(ViewerKind kind) {
  switch (kind) {
    case ViewerKind::PatchFile: return "Patch File";
    case ViewerKind::JobSourceFile: return "Job Source File";
    case ViewerKind::FormSourceFile: return "Form Source File";
    case ViewerKind::CommandFile: return "Command File";
    case ViewerKind::Font: return "Font";
    case ViewerKind::Image: return "IMG";
    case ViewerKind::Task: return "Task";
    case ViewerKind::None: break;
  }
  return {};
}

bool OpenFileInViewer(std::string_view folder, std::string_view name, const DocumentOpener& open) {
  const ViewerKind kind = GetViewerKind(name);
  if (kind == ViewerKind::None || !open) return false;
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  open(kind, path);
  return true;
}

}  // namespace kelvo
