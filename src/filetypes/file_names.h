// Printer file names and PC file names.
//
// A printer file on the PC is NAME.TYP: up to six name characters, a dot and
// the type code. These functions tell such names from others, map between
// printer and PC names, and describe ordinary PC files for the file lists.
// Paths use "/" as separator; only the last component is looked at.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

// The last component of a path split at its last ".": `extension` keeps the
// dot and is empty when the component has no dot.
struct SplitName {
  std::string_view base;
  std::string_view extension;
};
SplitName SplitFileName(std::string_view path);

// True when the last component of `pcName` has the printer form: a base name
// of at most six characters (an empty one passes), "." and a catalogued type
// code other than "$Y$".
bool IsKelvoFileName(std::string_view pcName);

// True when the base name of the last component is a PC device name:
// COM0-COM9, LPT0-LPT9, CON, PRN, AUX (any case). NUL is not one.
bool IsReservedDeviceName(std::string_view pcName);

// A printer name as stored: two halves of up to three characters and the type.
struct PrinterName {
  std::string first;   // characters 1 to 3
  std::string second;  // characters 4 to 6; empty for names of 3 or fewer
  std::string type;    // the last three characters of the PC name
};

// The printer name a PC file is stored under: the base name upper-cased and
// cut to six characters; characters outside the printer set become blanks.
PrinterName PcNameToPrinterName(std::string_view pcName);

// The PC name of a printer file from its decoded halves: each half ends at
// its first blank; "AB " and "CD " give "ABCD.TYP".
std::string PrinterNameToPcName(std::string_view first, std::string_view second,
                                std::string_view type);

// The name as the file lists show it: lower case, the first character raised
// to upper case when it is a letter ("REPORT.FNT" gives "Report.fnt").
std::string DisplayName(std::string_view fullName);

// True when `pcName` may be the name of a new or renamed printer file: its
// stored name is not empty (an empty base name, or one whose first three
// characters all fall outside the printer set, would store a first word of 0,
// which marks a free directory slot) and its type is not "$Y$".
bool IsStorableKelvoName(std::string_view pcName);

// Describes an ordinary PC file by its path. Returns nothing when it knows no
// description. The GUI supplies one backed by the desktop's MIME database.
using PcTypeLookup = std::function<std::optional<std::string>(std::string_view path)>;

// The "Type" column text of an ordinary PC file: the lookup's description
// when it has one, else the upper-case extension without its dot followed by
// " File" ("TXT File"); a name without extension (or ending in a bare dot)
// gives "File".
std::string GetPcFileTypeName(std::string_view path, const PcTypeLookup& lookup = {});

// Whether a PC folder entry appears in the PC file list: folders never; other
// files when "Show All File Types" is on or their name has the printer form.
bool ShouldListPcFolderEntry(std::string_view name, bool isDirectory, bool showAllFileTypes);

// The "Type" column of a listed PC file: the catalogue description for a
// printer-form name, GetPcFileTypeName otherwise.
std::string GetPcFolderTypeColumn(std::string_view name, const PcTypeLookup& lookup = {});

}  // namespace kelvo
