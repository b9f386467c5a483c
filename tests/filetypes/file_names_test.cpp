#include <gtest/gtest.h>

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

TEST(PrinterNames, PcNameIsCutToSixUpperCaseCharacters) {
  PrinterName n = PcNameToPrinterName("longname.fnt");
  EXPECT_EQ(n.first, "LON");
  EXPECT_EQ(n.second, "GNA");
  EXPECT_EQ(n.type, "FNT");
  n = PcNameToPrinterName("/tmp/x/ab.cmd");
  EXPECT_EQ(n.first, "AB");
  EXPECT_EQ(n.second, "");
  EXPECT_EQ(n.type, "CMD");
  n = PcNameToPrinterName("abcd.jsl");
  EXPECT_EQ(n.first, "ABC");
  EXPECT_EQ(n.second, "D");
  n = PcNameToPrinterName("a_b-c~.fnt");
  EXPECT_EQ(n.first, "A B");
  EXPECT_EQ(n.second, " C ");
  n = PcNameToPrinterName("\xc3\xa9t.fnt");
  EXPECT_EQ(n.first, "  T");
}

TEST(PrinterNames, HalvesEndAtTheirFirstBlank) {
  EXPECT_EQ(PrinterNameToPcName("REP", "ORT", "FNT"), "REPORT.FNT");
  EXPECT_EQ(PrinterNameToPcName("AB ", "CD ", "JSL"), "ABCD.JSL");
  EXPECT_EQ(PrinterNameToPcName("A B", "", "JSL"), "A.JSL");
  EXPECT_EQ(PrinterNameToPcName("", "", "FNT"), ".FNT");
}

TEST(PrinterNames, DisplayNameRaisesOnlyALeadingLetter) {
  EXPECT_EQ(DisplayName("REPORT.FNT"), "Report.fnt");
  EXPECT_EQ(DisplayName("$ABC.JSL"), "$abc.jsl");
  EXPECT_EQ(DisplayName(""), "");
}

TEST(PrinterNames, NamesThatWouldStoreAsNothingAreRefused) {
  EXPECT_TRUE(IsStorableKelvoName("longname.fnt"));
  EXPECT_TRUE(IsStorableKelvoName("a.jsl"));
  EXPECT_TRUE(IsStorableKelvoName("__a.jsl"));  // third character survives
  EXPECT_TRUE(IsStorableKelvoName("..fnt"));     // "." is a printer character
  EXPECT_FALSE(IsStorableKelvoName(".fnt"));
  EXPECT_FALSE(IsStorableKelvoName("dir/.fnt"));
  EXPECT_FALSE(IsStorableKelvoName("___x.fnt"));
  EXPECT_FALSE(IsStorableKelvoName("~{}.fnt"));
  EXPECT_FALSE(IsStorableKelvoName("\xc3\xa9\xc3\xa9.fnt"));
  EXPECT_FALSE(IsStorableKelvoName(""));
}

TEST(PrinterNames, TheSystemTypeIsNeverATarget) {
  EXPECT_FALSE(IsStorableKelvoName("bitmap.$y$"));
  EXPECT_FALSE(IsStorableKelvoName("bitmap$y$"));
  for (char c : std::string("Az09$.")) EXPECT_TRUE(IsRadixChar(c)) << c;
  for (char c : std::string(" _%\xc3")) EXPECT_FALSE(IsRadixChar(c)) << c;
}

TEST(PcFileTypeName, BuildsTheDescriptionFromTheExtension) {
  EXPECT_EQ(GetPcFileTypeName("/a.b/notes.Txt"), "TXT File");
  EXPECT_EQ(GetPcFileTypeName("dir.d/README"), "File");
  EXPECT_EQ(GetPcFileTypeName("trailing."), "File");
}

TEST(PcFileTypeName, PrefersTheLookupsDescription) {
  int calls = 0;
  PcTypeLookup lookup = [&calls](std::string_view path) -> std::optional<std::string> {
    ++calls;
    if (path.ends_with(".txt")) return "Plain text document";
    if (path.ends_with(".emp")) return std::string();
    return std::nullopt;
  };
  EXPECT_EQ(GetPcFileTypeName("a.txt", lookup), "Plain text document");
  EXPECT_EQ(GetPcFileTypeName("a.xyz", lookup), "XYZ File");
  EXPECT_EQ(GetPcFileTypeName("a.emp", lookup), "EMP File");
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(GetPcFileTypeName("README", lookup), "File");
  EXPECT_EQ(calls, 3);
}

TEST(PcFolderList, ShowsOnlyPrinterFilesUnlessAllTypesAreShown) {
  EXPECT_TRUE(ShouldListPcFolderEntry("A.JSL", false, false));
  EXPECT_FALSE(ShouldListPcFolderEntry("B.TXT", false, false));
  EXPECT_FALSE(ShouldListPcFolderEntry("D.$Y$", false, false));
  EXPECT_TRUE(ShouldListPcFolderEntry("B.TXT", false, true));
  EXPECT_TRUE(ShouldListPcFolderEntry("D.$Y$", false, true));
  EXPECT_FALSE(ShouldListPcFolderEntry("SUB.JSL", true, false));
  EXPECT_FALSE(ShouldListPcFolderEntry("SUB", true, true));
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
