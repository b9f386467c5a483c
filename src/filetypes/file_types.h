// The catalogue of printer file types.
//
// Every printer file belongs to one of 35 types named by a three-character
// code. The catalogue order is fixed: it is the order of lookup and of the
// type directories shown under "All Files". Codes are compared without regard
// to case everywhere.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// Whether files of a type hold source records (80-column text).
enum class SourceKind {
  Never,     // binary: copied as whole blocks
  Always,    // CMD, FSL, JSL, PCH
  WhenText,  // LIB, MSC, TMP: decided by the file's content
};

struct FileTypeInfo {
  std::string_view code;         // upper case, e.g. "FNT"
  std::string_view description;  // the "Type" column text; empty for KCS
  SourceKind source;
};

// The type of the disk's own system files (bad-block and bitmap files).
inline constexpr std::string_view kSystemTypeCode = "$Y$";

inline constexpr std::array<FileTypeInfo, 35> FileTypeCodes = {{
    {"$Y$", "System File", SourceKind::Never},
    {"CMD", "Command Source File", SourceKind::Always},
    {"CME", "CME Object File", SourceKind::Never},
    {"DAT", "System Data File", SourceKind::Never},
    {"FIS", "Font Interchange Standard", SourceKind::Never},
    {"FN6", "Font File (600 dpi)", SourceKind::Never},
    {"FNT", "Font File (300 dpi)", SourceKind::Never},
    {"FR6", "Form File (600 dpi)", SourceKind::Never},
    {"FRM", "Form File (300 dpi)", SourceKind::Never},
    {"FSL", "Form Source File", SourceKind::Always},
    {"ICT", "Ink Catalog File", SourceKind::Never},
    {"IDR", "Ink Directory File", SourceKind::Never},
    {"IM6", "Image File (600 dpi)", SourceKind::Never},
    {"IMG", "Image File (300 dpi)", SourceKind::Never},
    {"VFF", "Vellumtype Fragment File", SourceKind::Never},
    {"VFM", "Vellumtype Font Map", SourceKind::Never},
    {"ISL", "Who Knows!!", SourceKind::Never},
    {"JDL", "Job Description Library", SourceKind::Never},
    {"JSL", "Job Source File", SourceKind::Always},
    {"LG6", "Logo File (600 dpi)", SourceKind::Never},
    {"LGO", "Logo File (300 dpi)", SourceKind::Never},
    {"LIB", "Library File", SourceKind::WhenText},
    {"LOG", "System Log File", SourceKind::Never},
    {"MSC", "Miscellaneous File", SourceKind::WhenText},
    {"OSD", "System Diagnostic File", SourceKind::Never},
    {"PCH", "Patch File", SourceKind::Always},
    {"PDE", "PDE File", SourceKind::Never},
    {"SAF", "System Diagnostic File", SourceKind::Never},
    {"STK", "Stockset File", SourceKind::Never},
    {"SYS", "System File", SourceKind::Never},
    {"TPF", "Temporary Patch File", SourceKind::Never},
    {"TMP", "Temporary File", SourceKind::WhenText},
    {"TSK", "System Task File", SourceKind::Never},
    {"TST", "RTEXT Object File", SourceKind::Never},
    {"KCS", "", SourceKind::Never},
}};

// ASCII case mapping; other bytes are left alone.
constexpr char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
constexpr char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Case-insensitive ASCII comparison (names and codes are compared this way).
bool EqualsNoCase(std::string_view a, std::string_view b);

// The catalogue entry of `code` (any case), or nothing for an unknown code.
const FileTypeInfo* FindFileType(std::string_view code);

// The description of `code`; empty for an unknown code and for KCS.
std::string GetFileTypeDescription(std::string_view code);

// The 35 codes in lower case, sorted: the children of "All Files".
std::vector<std::string> TypeDirectoryLabels();

// The documents a viewer extension opens, in the order the extensions are
// tested (".pch", ".jsl", ".fsl", ".fnt", ".tsk", ".img", ".cmd").
enum class ViewerKind { None, PatchFile, JobSourceFile, FormSourceFile, Font, Task, Image, CommandFile };

// The viewer for a PC file name (by its extension, any case); None when the
// extension opens no viewer.
ViewerKind GetViewerKind(std::string_view name);

// The document kind's name ("Patch File", "Font", "IMG", ...); empty for None.
std::string_view ViewerDocumentName(ViewerKind kind);

// Asks the application to open `path` as a document of `kind`.
using DocumentOpener = std::function<void(ViewerKind kind, const std::string& path)>;

// Opens the file `name` of the PC folder `folder` in its viewer when its
// extension is a viewer extension; returns false (and opens nothing) for any
// other extension.
bool OpenFileInViewer(std::string_view folder, std::string_view name, const DocumentOpener& open);

}  // namespace kelvo
