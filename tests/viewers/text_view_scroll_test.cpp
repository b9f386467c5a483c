#include <gtest/gtest.h>

#include "viewers/text_view_scroll.h"

namespace kelvo {
namespace {

TEST(TextViewScroll, TaskRangeIsCappedAndTheThumbEndShowsTheLastLines) {
  CTextViewScroll s = CTextViewScroll::ForTask();
  s.Layout(10000, 8, 12, 400, 600);
  EXPECT_EQ(s.LinesPerPage(), 50);
  EXPECT_EQ(s.MaxFirstLine(), 10000 - 50 + 1);
  EXPECT_EQ(s.VerticalRange(), 32767);
  EXPECT_EQ(s.ScrollVertical(ScrollAction::kThumb, 32767), s.MaxFirstLine());
  s.ScrollVertical(ScrollAction::kThumb, 16384);
  EXPECT_NEAR(s.FirstLine(), 5000, 2);
  // The thumb drawn for that line comes back to the same line.
  const int line = s.FirstLine();
  const int thumb = s.VerticalThumb();
  s.ScrollVertical(ScrollAction::kTop);
  s.ScrollVertical(ScrollAction::kThumb, thumb);
  EXPECT_EQ(s.FirstLine(), line);
  s.ScrollVertical(ScrollAction::kThumb, 0);
  s.ScrollVertical(ScrollAction::kLineDown);
  EXPECT_EQ(s.FirstLine(), 1);
  EXPECT_EQ(s.ScrollVertical(ScrollAction::kPageDown), 50);
  EXPECT_EQ(s.ScrollVertical(ScrollAction::kPageUp), -50);
  EXPECT_EQ(s.ScrollVertical(ScrollAction::kLineUp), -1);
  EXPECT_EQ(s.ScrollVertical(ScrollAction::kLineUp), 0);  // stays at 0
  s.Layout(100, 8, 12, 400, 5);  // less than one line per page
  EXPECT_EQ(s.LinesPerPage(), 0);
  EXPECT_EQ(s.ScrollVertical(ScrollAction::kPageDown), 1);
}

TEST(TextViewScroll, TaskSmallFileAndColumns) {
  CTextViewScroll s = CTextViewScroll::ForTask();
  s.Layout(10, 8, 12, 800, 600);
  EXPECT_EQ(s.VerticalRange(), 11 * 12);
  EXPECT_EQ(s.MaxFirstLine(), 0);
  EXPECT_EQ(s.ColumnsPerPage(), 100);
  EXPECT_EQ(s.MaxFirstColumn(), 10);
  EXPECT_EQ(s.HorizontalRange(), 110 * 8);
  EXPECT_EQ(s.ScrollHorizontal(ScrollAction::kPageDown), 10);
  EXPECT_EQ(s.ScrollHorizontal(ScrollAction::kThumb, 39), 4 - 10);
  s.Layout(10, 8, 12, 8 * 120, 600);
  EXPECT_EQ(s.HorizontalRange(), 0);
  EXPECT_EQ(s.FirstColumn(), 0);
}

TEST(TextViewScroll, SourceRangesThumbAndLinesToPaint) {
  CTextViewScroll s = CTextViewScroll::ForSource();
  s.Layout(20, 8, 10, 400, 300);
  EXPECT_EQ(s.MaxFirstLine(), 0);
  EXPECT_EQ(s.VerticalRange(), 0);
  s.Layout(100000, 8, 10, 400, 300);
  EXPECT_EQ(s.VerticalRange(), 100001 * 10);  // no cap for sources
  EXPECT_EQ(s.ScrollVertical(ScrollAction::kThumb, 21), 3);  // rounded up
  EXPECT_EQ(s.MaxFirstColumn(), 30);
  s.ScrollHorizontal(ScrollAction::kBottom);
  EXPECT_EQ(s.FirstColumn(), 30);
  s.Layout(100000, 8, 10, 8 * 80, 300);
  EXPECT_EQ(s.HorizontalRange(), 0);
  EXPECT_EQ(s.FirstColumn(), 0);

  s.Layout(100, 8, 10, 400, 300);
  s.ScrollVertical(ScrollAction::kThumb, 200);
  ASSERT_EQ(s.FirstLine(), 20);
  long long first = 0, last = 0;
  s.LinesToPaint(0, 300, first, last);
  EXPECT_EQ(first, 19);
  EXPECT_EQ(last, 51);
  EXPECT_EQ(s.LineY(20), 0);
  s.ScrollVertical(ScrollAction::kBottom);
  s.LinesToPaint(0, 300, first, last);
  EXPECT_EQ(last, 99);
}

}  // namespace
}  // namespace kelvo
