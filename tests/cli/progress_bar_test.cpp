#include <gtest/gtest.h>

#include <cstdio>

#include "cli/progress_bar.h"

namespace kelvo::cli {
namespace {

// Everything written to a temporary stream.
std::string Contents(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string text;
  char buf[256];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  return text;
}

TEST(CProgressBar, DrawsInPlaceAndEndsTheLine) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  {
    CProgressBar bar("copy", f, true);
    bar.Update(0, 4);
    bar.Update(1, 4);
    bar.Update(1, 4);  // unchanged: not drawn again
    bar.Update(4, 4);
  }
  const std::string text = Contents(f);
  EXPECT_NE(text.find("\rcopy [..............................]   0%"), std::string::npos) << text;
  EXPECT_NE(text.find("\rcopy [#######.......................]  25%"), std::string::npos);
  EXPECT_NE(text.find("\rcopy [##############################] 100%"), std::string::npos);
  EXPECT_EQ(text.find("25%"), text.rfind("25%"));
  EXPECT_EQ(text.back(), '\n');
  std::fclose(f);
}

TEST(CProgressBar, OddCountsStayWithinTheBar) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  CProgressBar bar("x", f, true);
  bar.Update(7, 0);  // nothing to do counts as done
  bar.Update(9, 3);  // more than the total
  bar.Update(UINT64_MAX - 1, UINT64_MAX);
  bar.Finish();
  bar.Update(1, 2);  // after Finish: ignored
  const std::string text = Contents(f);
  EXPECT_EQ(text.find("50%"), std::string::npos);
  EXPECT_NE(text.find(" 99%"), std::string::npos) << text;
  EXPECT_EQ(text.find("%"), text.find("100%") + 3);
  std::fclose(f);
}

TEST(CProgressBar, LabelsAreCutAtCharacterBoundaries) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  CProgressBar bar(std::string(39, 'a') + "\u00bd tail", f, true);
  bar.Update(1, 2);
  bar.SetLabel("REPORT.FNT");
  bar.SetDetail("A.FNT (3)");  // the tape line's file and counter follow the percentage
  bar.Finish();
  const std::string text = Contents(f);
  EXPECT_NE(text.find("\r" + std::string(39, 'a') + " ["), std::string::npos) << text;
  EXPECT_NE(text.find("\rREPORT.FNT [###############...............]  50%\x1b[K"),
            std::string::npos);
  EXPECT_NE(text.find("]  50% A.FNT (3)\x1b[K"), std::string::npos);
  std::fclose(f);
}

TEST(CProgressBar, DisabledBarWritesNothing) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  {
    CProgressBar bar("copy", f, false);
    bar.Update(1, 2);
    bar.SetLabel("other");
  }
  EXPECT_EQ(Contents(f), "");
  std::fclose(f);
}

}  // namespace
}  // namespace kelvo::cli
