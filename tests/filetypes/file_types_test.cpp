#include <gtest/gtest.h>

#include <set>

#include "filetypes/file_types.h"

namespace kelvo {
namespace {

TEST(FileTypeCatalogue, HoldsThe35CodesInTheirFixedOrder) {
  const char* expected[] = {"$Y$", "CMD", "CME", "DAT", "FIS", "FN6", "FNT", "FR6", "FRM",
                            "FSL", "ICT", "IDR", "IM6", "IMG", "VFF", "VFM", "ISL", "JDL",
                            "JSL", "LG6", "LGO", "LIB", "LOG", "MSC", "OSD", "PCH", "PDE",
                            "SAF", "STK", "SYS", "TPF", "TMP", "TSK", "TST", "KCS"};
  ASSERT_EQ(FileTypeCodes.size(), std::size(expected));
  for (std::size_t i = 0; i < FileTypeCodes.size(); ++i) {
    EXPECT_EQ(FileTypeCodes[i].code, expected[i]) << "position " << i;
  }
}

TEST(FileTypeCatalogue, DescriptionsAreTheSystemTexts) {
  EXPECT_EQ(GetFileTypeDescription("jsl"), "Job Source File");
  EXPECT_EQ(GetFileTypeDescription("JSL"), "Job Source File");
  EXPECT_EQ(GetFileTypeDescription("Fn6"), "Font File (600 dpi)");
  EXPECT_EQ(GetFileTypeDescription("ISL"), "Who Knows!!");
  EXPECT_EQ(GetFileTypeDescription("ICT"), "Ink Catalog File");
  EXPECT_EQ(GetFileTypeDescription("TST"), "RTEXT Object File");
  EXPECT_EQ(GetFileTypeDescription("VFF"), "Vellumtype Fragment File");
  // Shared descriptions and the one without any.
  EXPECT_EQ(GetFileTypeDescription("SYS"), "System File");
  EXPECT_EQ(GetFileTypeDescription("$y$"), "System File");
  EXPECT_EQ(GetFileTypeDescription("OSD"), "System Diagnostic File");
  EXPECT_EQ(GetFileTypeDescription("SAF"), "System Diagnostic File");
  EXPECT_EQ(GetFileTypeDescription("KCS"), "");
  EXPECT_EQ(GetFileTypeDescription("XYZ"), "");
  EXPECT_EQ(GetFileTypeDescription(""), "");
  EXPECT_EQ(GetFileTypeDescription("JSLX"), "");
}

TEST(FileTypeCatalogue, SourceKindsMarkTheSourceTypes) {
  std::set<std::string_view> always, byContent;
  for (const FileTypeInfo& info : FileTypeCodes) {
    if (info.source == SourceKind::Always) always.insert(info.code);
    if (info.source == SourceKind::WhenText) byContent.insert(info.code);
  }
  EXPECT_EQ(always, (std::set<std::string_view>{"CMD", "FSL", "JSL", "PCH"}));
  EXPECT_EQ(byContent, (std::set<std::string_view>{"LIB", "MSC", "TMP"}));
}

TEST(FileTypeCatalogue, TypeDirectoryLabelsAreLowerCaseAndSorted) {
  const std::vector<std::string> labels = TypeDirectoryLabels();
  ASSERT_EQ(labels.size(), 35u);
  EXPECT_EQ(labels.front(), "$y$");
  EXPECT_EQ(labels[1], "cmd");
  EXPECT_EQ(labels.back(), "vfm");
  EXPECT_TRUE(std::is_sorted(labels.begin(), labels.end()));
}

TEST(FileTypeCatalogue, ViewerExtensionsChooseTheirDocuments) {
  EXPECT_EQ(GetViewerKind("a.pch"), ViewerKind::PatchFile);
  EXPECT_EQ(GetViewerKind("dir.x/REPORT.FNT"), ViewerKind::Font);
  EXPECT_EQ(GetViewerKind("x.Img"), ViewerKind::Image);
  EXPECT_EQ(GetViewerKind("x.cmd"), ViewerKind::CommandFile);
  EXPECT_EQ(GetViewerKind("x.tsk"), ViewerKind::Task);
  EXPECT_EQ(GetViewerKind("x.frm"), ViewerKind::None);
  EXPECT_EQ(GetViewerKind("jsl"), ViewerKind::None);
  EXPECT_EQ(GetViewerKind("x.jsl.txt"), ViewerKind::None);
  EXPECT_EQ(ViewerDocumentName(ViewerKind::CommandFile), "Command File");
  EXPECT_EQ(ViewerDocumentName(ViewerKind::Image), "IMG");
  EXPECT_EQ(ViewerDocumentName(ViewerKind::JobSourceFile), "Job Source File");
  EXPECT_EQ(ViewerDocumentName(ViewerKind::None), "");
}

TEST(FileTypeCatalogue, OpenFileInViewerBuildsThePathOfTheFolder) {
  std::vector<std::pair<ViewerKind, std::string>> opened;
  const DocumentOpener open = [&opened](ViewerKind kind, const std::string& path) {
    opened.emplace_back(kind, path);
  };
  EXPECT_TRUE(OpenFileInViewer("/home/op/fonts", "Report.fnt", open));
  EXPECT_TRUE(OpenFileInViewer("/home/op/", "a.JSL", open));
  EXPECT_FALSE(OpenFileInViewer("/home/op", "a.frm", open));
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], std::make_pair(ViewerKind::Font, std::string("/home/op/fonts/Report.fnt")));
  EXPECT_EQ(opened[1], std::make_pair(ViewerKind::JobSourceFile, std::string("/home/op/a.JSL")));
}

}  // namespace
}  // namespace kelvo
