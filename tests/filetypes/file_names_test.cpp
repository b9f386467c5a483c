#include <gtest/gtest.h>

#include "filetypes/file_names.h"
#include "filetypes/radix_chars.h"

namespace kelvo {
namespace {

TEST(KelvoFileName, AcceptsThePrinterForm) {
  EXPECT_TRUE(IsKelvoFileName(".JSL"));  // empty base name passes this test
  EXPECT_TRUE(IsKelvoFileName("ABCDEF.JSL"));
  EXPECT_TRUE(IsKelvoFileName("name.jsl"));
  EXPECT_TRUE(IsKelvoFileName("NAME.KCS"));
  EXPECT_TRUE(IsKelvoFileName("A.B.JSL"));
  EXPECT_TRUE(IsKelvoFileName("/home/user/some.dir/FORM1.FRM"));
}

TEST(KelvoFileName, RefusesOtherNames) {
  EXPECT_FALSE(IsKelvoFileName("ABCDEFG.JSL"));
  EXPECT_FALSE(IsKelvoFileName("NAME.JS"));
  EXPECT_FALSE(IsKelvoFileName("NAME.JSLX"));
  EXPECT_FALSE(IsKelvoFileName("NAME.$Y$"));
  EXPECT_FALSE(IsKelvoFileName("NAME.$y$"));
  EXPECT_FALSE(IsKelvoFileName("NAME.XYZ"));
  EXPECT_FALSE(IsKelvoFileName("NAMEJSL"));
  EXPECT_FALSE(IsKelvoFileName("a.jsl/dir"));
}

TEST(KelvoFileName, OddNamesNeverPass) {
  EXPECT_FALSE(IsKelvoFileName(""));
  EXPECT_FALSE(IsKelvoFileName("."));
  EXPECT_FALSE(IsKelvoFileName("...."));
  // Lengths count bytes: seven bytes of UTF-8 are too long, four pass.
  EXPECT_FALSE(IsKelvoFileName("\xc3\xa9t\xc3\xa9\xc3\xa9.JSL"));
  EXPECT_TRUE(IsKelvoFileName("\xc3\xa9\xc3\xa9.JSL"));
  EXPECT_FALSE(IsKelvoFileName("name.j\xc3\xa9"));
  EXPECT_FALSE(IsKelvoFileName(std::string(5000, 'A') + ".JSL"));
}

TEST(ReservedDeviceName, KnowsTheDeviceNames) {
  EXPECT_TRUE(IsReservedDeviceName("COM1"));
  EXPECT_TRUE(IsReservedDeviceName("lpt9.txt"));
  EXPECT_TRUE(IsReservedDeviceName("con"));
  EXPECT_TRUE(IsReservedDeviceName("Aux.JSL"));
  EXPECT_TRUE(IsReservedDeviceName("LPT1.JSL"));
  EXPECT_TRUE(IsReservedDeviceName("prn"));
  EXPECT_TRUE(IsReservedDeviceName("dir/com0.fnt"));
  EXPECT_FALSE(IsReservedDeviceName("COM10"));
  EXPECT_FALSE(IsReservedDeviceName("COMX"));
  EXPECT_FALSE(IsReservedDeviceName("NUL"));
  EXPECT_FALSE(IsReservedDeviceName("CONX"));
  EXPECT_FALSE(IsReservedDeviceName("CO"));
  EXPECT_FALSE(IsReservedDeviceName(""));
  EXPECT_FALSE(IsReservedDeviceName(".con"));
  EXPECT_FALSE(IsReservedDeviceName("con/file"));
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
  EXPECT_EQ(DisplayName("FORM1.FRM"), "Form1.frm");
  EXPECT_EQ(DisplayName("$ABC.JSL"), "$abc.jsl");
  EXPECT_EQ(DisplayName("1AB.CMD"), "1ab.cmd");
  EXPECT_EQ(DisplayName(".FNT"), ".fnt");
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
  EXPECT_FALSE(IsStorableKelvoName("BITMAP.$Y$"));
  EXPECT_FALSE(IsStorableKelvoName("bitmap.$y$"));
  EXPECT_FALSE(IsStorableKelvoName("bitmap$y$"));
}

TEST(PrinterNames, RadixCharactersAreTheNameSet) {
  EXPECT_TRUE(IsRadixChar('A'));
  EXPECT_TRUE(IsRadixChar('z'));
  EXPECT_TRUE(IsRadixChar('0'));
  EXPECT_TRUE(IsRadixChar('9'));
  EXPECT_TRUE(IsRadixChar('$'));
  EXPECT_TRUE(IsRadixChar('.'));
  EXPECT_FALSE(IsRadixChar(' '));
  EXPECT_FALSE(IsRadixChar('_'));
  EXPECT_FALSE(IsRadixChar('%'));
  EXPECT_FALSE(IsRadixChar('\0'));
  EXPECT_FALSE(IsRadixChar('\xc3'));
}

TEST(PcFileTypeName, BuildsTheDescriptionFromTheExtension) {
  EXPECT_EQ(GetPcFileTypeName("README"), "File");
  EXPECT_EQ(GetPcFileTypeName("abc.xyz"), "XYZ File");
  EXPECT_EQ(GetPcFileTypeName("/a.b/notes.Txt"), "TXT File");
  EXPECT_EQ(GetPcFileTypeName("dir.d/README"), "File");
  EXPECT_EQ(GetPcFileTypeName("trailing."), "File");
  EXPECT_EQ(GetPcFileTypeName("..."), "File");
  EXPECT_EQ(GetPcFileTypeName("x.{abc}"), "{ABC} File");
  EXPECT_EQ(GetPcFileTypeName("x.t\xc3\xa9"), "T\xc3\xa9 File");
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
