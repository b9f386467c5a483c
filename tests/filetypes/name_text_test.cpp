// Names read from media: shown escaped, given to PC files only as names that
// stay in the chosen folder.
#include <gtest/gtest.h>

#include <string>

#include "filetypes/name_text.h"

namespace kelvo {
namespace {

struct NameCase {
  std::string bytes;
  std::string escaped;
  std::string hex;
  std::string pc_name;
};

TEST(NameText, EscapedHexAndPcNames) {
  const NameCase cases[] = {
      {"REPORT.FNT", "REPORT.FNT", "5245504F52542E464E54", "REPORT.FNT"},
      {"A/B.CMD", "A/B.CMD", "412F422E434D44", "A_B.CMD"},
      {"A\\B.CMD", "A\\x5CB.CMD", "415C422E434D44", "A_B.CMD"},
      {"../X", "../X", "2E2E2F58", "_._X"},
      {"/X", "/X", "2F58", "_X"},
      {".", ".", "2E", "_"},
      {"..", "..", "2E2E", "_."},
      {"...CMD", "...CMD", "2E2E2E434D44", "_..CMD"},
      {std::string("A\0\x01\x1F\x7F\x80\xFE.FNT", 11), "A\\x00\\x01\\x1F\\x7F\\x80\\xFE.FNT",
       "4100011F7F80FE2E464E54", "A______.FNT"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.escaped);
    EXPECT_EQ(EscapedName(c.bytes), c.escaped);
    EXPECT_EQ(IsPlainName(c.bytes), c.escaped == c.bytes);
    EXPECT_EQ(HexBytes(c.bytes), c.hex);
    EXPECT_EQ(SafePcFileName(c.bytes), c.pc_name);
  }
}

}  // namespace
}  // namespace kelvo
