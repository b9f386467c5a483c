#include "filetypes/file_names.h"

#include "filetypes/file_types.h"
#include "filetypes/radix_chars.h"

namespace kelvo {

namespace {

std::string_view LastComponent(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The type a PC file is stored under: the last three characters of its name.
std::string_view StoredTypeOf(std::string_view pcName) {
  const std::string_view name = LastComponent(pcName);
  return name.size() <= 3 ? name : name.substr(name.size() - 3);
}

// The base name as stored: upper case, at most six characters, characters
// outside the printer set as blanks.
std::string StoredBaseName(std::string_view pcName) {
  std::string base(SplitFileName(pcName).base.substr(0, 6));
  for (char& c : base) c = IsRadixChar(c) ? UpperAscii(c) : ' ';
  return base;
}

std::string_view UpToBlank(std::string_view half) {
  const std::size_t end = half.find_first_of(std::string_view(" \0", 2));
  return end == std::string_view::npos ? half : half.substr(0, end);
}

}  // namespace

SplitName SplitFileName(std::string_view path) {
  const std::string_view name = LastComponent(path);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

bool IsKelvoFileName(std::string_view pcName) {
  const SplitName split = SplitFileName(pcName);
  if (split.base.size() > 6) return false;
  if (split.extension.size() != 4) return false;
  const std::string_view code = split.extension.substr(1);
  if (EqualsNoCase(code, kSystemTypeCode)) return false;
  return FindFileType(code) != nullptr;
}

bool IsReservedDeviceName(std::string_view pcName) {
  const std::string_view base = SplitFileName(pcName).base;
  if (base.size() == 4) {
    const std::string_view stem = base.substr(0, 3);
    return (EqualsNoCase(stem, "COM") || EqualsNoCase(stem, "LPT")) && base[3] >= '0' &&
           base[3] <= '9';
  }
  if (base.size() == 3) {
    return EqualsNoCase(base, "CON") || EqualsNoCase(base, "PRN") || EqualsNoCase(base, "AUX");
  }
  return false;
}

PrinterName PcNameToPrinterName(std::string_view pcName) {
  const std::string base = StoredBaseName(pcName);
  PrinterName result;
  result.first = base.substr(0, 3);
  if (base.size() > 3) result.second = base.substr(3);
  result.type = StoredTypeOf(pcName);
  for (char& c : result.type) c = UpperAscii(c);
  return result;
}

std::string PrinterNameToPcName(std::string_view first, std::string_view second,
                                std::string_view type) {
  std::string name(UpToBlank(first));
  name += UpToBlank(second);
  name += '.';
  name += type;
  return name;
}

std::string DisplayName(std::string_view fullName) {
  std::string shown(fullName);
  for (char& c : shown) c = LowerAscii(c);
  if (!shown.empty() && shown[0] >= 'a' && shown[0] <= 'z') shown[0] = UpperAscii(shown[0]);
  return shown;
}

bool IsStorableKelvoName(std::string_view pcName) {
  if (EqualsNoCase(StoredTypeOf(pcName), kSystemTypeCode)) return false;
  const std::string base = StoredBaseName(pcName);
  // The first word holds characters 1 to 3; all blank, it reads as a free slot.
  return base.substr(0, 3).find_first_not_of(' ') != std::string::npos;
}

std::string GetPcFileTypeName(std::string_view path, const PcTypeLookup& lookup) {
  const std::string_view extension = SplitFileName(path).extension;
  if (extension.size() <= 1) return "File";
  if (lookup) {
    std::optional<std::string> described = lookup(path);
    if (described && !described->empty()) return *described;
  }
  std::string name(extension.substr(1));
  for (char& c : name) c = UpperAscii(c);
  return name + " File";
}

bool ShouldListPcFolderEntry(std::string_view name, bool isDirectory, bool showAllFileTypes) {
  if (isDirectory) return false;
  return showAllFileTypes || IsKelvoFileName(name);
}

std::string GetPcFolderTypeColumn(std::string_view name, const PcTypeLookup& lookup) {
  if (IsKelvoFileName(name)) return GetFileTypeDescription(SplitFileName(name).extension.substr(1));
  return GetPcFileTypeName(name, lookup);
}

}  // namespace kelvo
