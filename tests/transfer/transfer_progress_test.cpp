// The shortened texts of the "Copy Files" fields and the place texts.
#include <gtest/gtest.h>

#include "transfer/transfer_places.h"
#include "transfer/transfer_progress.h"

namespace kelvo {
namespace {

TEST(CopyFilesText, LongFoldersAreAbbreviatedInTheMiddle) {
  const std::string text = "/home/operator/printers/site-two/fonts/REPORT.FNT";
  EXPECT_EQ(ShortenPathText("/home/op/REPORT.FNT", FitsCharacters(19)), "/home/op/REPORT.FNT");
  EXPECT_EQ(ShortenPathText(text, FitsCharacters(30)), "/.../site-two/fonts/REPORT.FNT");
  EXPECT_EQ(ShortenPathText(text, FitsCharacters(12)), ".../REPORT.FNT");
  EXPECT_EQ(ShortenPathText("A:\\DIR\\SUB\\X.FNT", FitsCharacters(12)), "A:\\...\\X.FNT");
  EXPECT_EQ(ShortenPathText("VERYLONGNAME.FNT", FitsCharacters(4)), "VERYLONGNAME.FNT");  // no folder
}

TEST(PlaceText, FloppyLetterAndFolderText) {
  EXPECT_EQ(FloppyLetterOfPlace("b:\\"), 'B');
  EXPECT_EQ(FloppyLetterOfPlace("3½ Floppy (B:)"), 'B');
  EXPECT_EQ(FloppyLetterOfPlace("Floppy A:/"), 'A');
  EXPECT_EQ(FloppyLetterOfPlace("/home/op"), 0);
  EXPECT_EQ(FloppyLetterOfPlace(":"), 0);
  EXPECT_EQ(FolderText("/tmp/x"), "/tmp/x/");
  EXPECT_EQ(FolderText("/tmp/x/"), "/tmp/x/");
  EXPECT_EQ(FolderText("C:\\DATA\\"), "C:\\DATA\\");
}

}  // namespace
}  // namespace kelvo
