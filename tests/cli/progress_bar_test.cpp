#include <gtest/gtest.h>

#include <cstdio>

#include "cli/progress_bar.h"

namespace kelvo::cli {
namespace {

// What `draw` writes through a bar on a temporary stream.
template <typename Draw>
std::string Drawn(const std::string& label, bool enabled, Draw draw) {
  std::FILE* f = std::tmpfile();
  if (f == nullptr) {
    ADD_FAILURE() << "no temporary stream";
    return {};
  }
  {
    CProgressBar bar(label, f, enabled);
    draw(bar);
  }
  std::fflush(f);
  std::rewind(f);
  std::string text;
  char buf[256];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
  std::fclose(f);
  return text;
}

TEST(CProgressBar, DrawsInPlaceAndEndsTheLine) {
  const std::string text = Drawn("copy", true, [](CProgressBar& bar) {
    bar.Update(0, 4);
    bar.Update(1, 4);
    bar.Update(1, 4);  // unchanged: not drawn again
    bar.Update(4, 4);
  });
  EXPECT_NE(text.find("\rcopy [..............................]   0%"), std::string::npos) << text;
  EXPECT_NE(text.find("\rcopy [#######.......................]  25%"), std::string::npos);
  EXPECT_NE(text.find("\rcopy [##############################] 100%"), std::string::npos);
  EXPECT_EQ(text.find("25%"), text.rfind("25%"));
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(Drawn("copy", false, [](CProgressBar& bar) { bar.Update(1, 2); }), "");  // disabled
}

// Odd counts stay within the bar; labels are cut at character boundaries;
// the tape line's file and counter follow the percentage.
TEST(CProgressBar, OddCountsAndLongLabels) {
  const std::string text = Drawn(std::string(39, 'a') + "\u00bd tail", true, [](CProgressBar& bar) {
    bar.Update(7, 0);  // nothing to do counts as done
    bar.Update(9, 3);  // more than the total
    bar.Update(UINT64_MAX - 1, UINT64_MAX);
    bar.SetLabel("REPORT.FNT");
    bar.SetDetail("A.FNT (3)");
    bar.Update(1, 2);
    bar.Finish();
    bar.Update(1, 3);  // after Finish: ignored
  });
  EXPECT_NE(text.find("\r" + std::string(39, 'a') + " ["), std::string::npos) << text;
  EXPECT_EQ(text.find("%"), text.find("100%") + 3);  // first 100%, never more
  EXPECT_NE(text.find(" 99%"), std::string::npos);
  EXPECT_NE(text.find("\rREPORT.FNT [###############...............]  50% A.FNT (3)\x1b[K"), std::string::npos);
  EXPECT_EQ(text.find("33%"), std::string::npos);
}

}  // namespace
}  // namespace kelvo::cli
