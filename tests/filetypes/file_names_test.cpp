#include <gtest/gtest.h>

#include <tuple>

#include "filetypes/file_names.h"
#include "filetypes/radix_chars.h"

namespace kelvo {
namespace {

TEST(KelvoFileName, PrinterFormAndOddNames) {
  struct Case {
    std::string name;
    bool ok;
  } const cases[] = {
      {".JSL", true},  // an empty base name passes this test
      {"ABCDEF.JSL", true}, {"A.B.JSL", true}, {"/home/user/some.dir/FORM1.FRM", true},
      {"ABCDEFG.JSL", false}, {"NAME.JS", false}, {"NAME.$y$", false}, {"NAME.XYZ", false},
      {"a.jsl/dir", false}, {"", false}, {"....", false},
      // Lengths count bytes: seven bytes of UTF-8 are too long, four pass.
      {"\xc3\xa9t\xc3\xa9\xc3\xa9.JSL", false}, {"\xc3\xa9\xc3\xa9.JSL", true},
      {std::string(5000, 'A') + ".JSL", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsKelvoFileName(c.name), c.ok) << c.name;
}

TEST(ReservedDeviceName, KnowsTheDeviceNames) {
  for (const char* name : {"lpt9.txt", "Aux.JSL", "prn", "dir/com0.fnt"})
    EXPECT_TRUE(IsReservedDeviceName(name)) << name;
  for (const char* name : {"COM10", "NUL", "CONX", "", ".con", "con/file"})
    EXPECT_FALSE(IsReservedDeviceName(name)) << name;
}

TEST(PrinterNames, PcNameIsCutToSixUpperCaseCharactersAndBack) {
  const struct { const char* pc; PrinterName printer; } rows[] = {
      {"longname.fnt", {"LON", "GNA", "FNT"}}, {"/tmp/x/ab.cmd", {"AB", "", "CMD"}},
      {"abcd.jsl", {"ABC", "D", "JSL"}},       {"a_b-c~.fnt", {"A B", " C ", "FNT"}},
      {"\xc3\xa9t.fnt", {"  T", "", "FNT"}},
  };
  for (const auto& r : rows) {
    const PrinterName n = PcNameToPrinterName(r.pc);
    EXPECT_EQ(std::tie(n.first, n.second, n.type), std::tie(r.printer.first, r.printer.second, r.printer.type))
        << r.pc;
  }
  // Halves end at their first blank.
  EXPECT_EQ(PrinterNameToPcName("REP", "ORT", "FNT"), "REPORT.FNT");
  EXPECT_EQ(PrinterNameToPcName("AB ", "CD ", "JSL"), "ABCD.JSL");
  EXPECT_EQ(PrinterNameToPcName("A B", "", "JSL"), "A.JSL");
  EXPECT_EQ(PrinterNameToPcName("", "", "FNT"), ".FNT");
  // The display name raises only a leading letter.
  EXPECT_EQ(DisplayName("REPORT.FNT"), "Report.fnt");
  EXPECT_EQ(DisplayName("$ABC.JSL"), "$abc.jsl");
  EXPECT_EQ(DisplayName(""), "");
}

// Names that would store as nothing, and the system type, are refused.
TEST(PrinterNames, StorableNamesAndRadixCharacters) {
  for (const char* name : {"longname.fnt", "a.jsl", "__a.jsl" /* third character survives */,
                           "..fnt" /* "." is a printer character */})
    EXPECT_TRUE(IsStorableKelvoName(name)) << name;
  for (const char* name : {".fnt", "dir/.fnt", "___x.fnt", "~{}.fnt", "\xc3\xa9\xc3\xa9.fnt", "",
                           "bitmap.$y$", "bitmap$y$"})
    EXPECT_FALSE(IsStorableKelvoName(name)) << name;
  for (char c : std::string("Az09$.")) EXPECT_TRUE(IsRadixChar(c)) << c;
  for (char c : std::string(" _%\xc3")) EXPECT_FALSE(IsRadixChar(c)) << c;
}

// The lookup's description first, else one built from the extension.
TEST(PcFileTypeName, PrefersTheLookupsDescription) {
  int calls = 0;
  PcTypeLookup lookup = [&calls](std::string_view path) -> std::optional<std::string> {
    ++calls;
    if (path.ends_with(".txt")) return "Plain text document";
    if (path.ends_with(".emp")) return std::string();
    return std::nullopt;
  };
  EXPECT_EQ(GetPcFileTypeName("/a.b/notes.Txt"), "TXT File");
  EXPECT_EQ(GetPcFileTypeName("dir.d/README"), "File");
  EXPECT_EQ(GetPcFileTypeName("trailing."), "File");
  EXPECT_EQ(GetPcFileTypeName("a.txt", lookup), "Plain text document");
  EXPECT_EQ(GetPcFileTypeName("a.xyz", lookup), "XYZ File");
  EXPECT_EQ(GetPcFileTypeName("a.emp", lookup), "EMP File");
  EXPECT_EQ(GetPcFileTypeName("README", lookup), "File");
  EXPECT_EQ(calls, 3);  // no extension: no lookup
}

TEST(PcFolderList, ShowsOnlyPrinterFilesUnlessAllTypesAreShown) {
  const struct { const char* name; bool folder, all, listed; } rows[] = {
      {"A.JSL", false, false, true},  {"B.TXT", false, false, false}, {"D.$Y$", false, false, false},
      {"B.TXT", false, true, true},   {"D.$Y$", false, true, true},   {"SUB.JSL", true, false, false},
      {"SUB", true, true, false},
  };
  for (const auto& r : rows) EXPECT_EQ(ShouldListPcFolderEntry(r.name, r.folder, r.all), r.listed) << r.name;
}

TEST(PcFolderList, TypeColumnUsesTheCatalogueForPrinterNames) {
  EXPECT_EQ(GetPcFolderTypeColumn("a.jsl"), "Job Source File");
  EXPECT_EQ(GetPcFolderTypeColumn("a.kcs"), "");
  EXPECT_EQ(GetPcFolderTypeColumn("D.$Y$"), "$Y$ File");
  EXPECT_EQ(GetPcFolderTypeColumn("longname.jsl"), "JSL File");
  EXPECT_EQ(GetPcFolderTypeColumn("b.txt"), "TXT File");
}

}  // namespace
}  // namespace kelvo
