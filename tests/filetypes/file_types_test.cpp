#include <gtest/gtest.h>

#include <set>

#include "filetypes/file_types.h"

namespace kelvo {
namespace {

// The catalogue's order is the order of a new disk's type index; its ends
// and a shared description are the rows that matter, with the fallback.
TEST(FileTypeCatalogue, OrderDescriptionsAndSourceKinds) {
  ASSERT_EQ(FileTypeCodes.size(), 35u);
  EXPECT_EQ(FileTypeCodes.front().code, "$Y$");
  EXPECT_EQ(FileTypeCodes[6].code, "FNT");
  EXPECT_EQ(FileTypeCodes.back().code, "KCS");
  EXPECT_EQ(GetFileTypeDescription("$y$"), "System File");
  EXPECT_EQ(GetFileTypeDescription("JSLX"), "");
  std::set<std::string_view> always, byContent;
  for (const FileTypeInfo& info : FileTypeCodes) {
    if (info.source == SourceKind::Always) always.insert(info.code);
    if (info.source == SourceKind::WhenText) byContent.insert(info.code);
  }
  EXPECT_EQ(always, (std::set<std::string_view>{"CMD", "FSL", "JSL", "PCH"}));
  EXPECT_EQ(byContent, (std::set<std::string_view>{"LIB", "MSC", "TMP"}));
  const std::vector<std::string> labels = TypeDirectoryLabels();
  ASSERT_EQ(labels.size(), 35u);
  EXPECT_TRUE(std::is_sorted(labels.begin(), labels.end()));
}

TEST(FileTypeCatalogue, ViewerFromTheExtensionAndItsPath) {
  EXPECT_EQ(GetViewerKind("dir.x/REPORT.FNT"), ViewerKind::Font);
  EXPECT_EQ(GetViewerKind("x.Img"), ViewerKind::Image);
  EXPECT_EQ(GetViewerKind("x.frm"), ViewerKind::None);
  EXPECT_EQ(GetViewerKind("x.jsl.txt"), ViewerKind::None);
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
