// Scrolling arithmetic of the source and task views: lines and columns per
// page, the largest first line and column, scroll ranges, and where each
// scroll action leads. Sizes are in pixels of the fixed-pitch display font.
#pragma once

#include <cstddef>

namespace kelvo {

enum class ScrollAction { kLineUp, kLineDown, kPageUp, kPageDown, kThumb, kTop, kBottom };

class CTextViewScroll {
 public:
  // The source view: 80 columns, no limit on the vertical range.
  static CTextViewScroll ForSource();
  // The task view: 110 columns, a vertical range of at most 32767.
  static CTextViewScroll ForTask();

  static constexpr int kMaxRange = 32767;

  // Recomputes the page sizes and limits after a resize or a new document.
  void Layout(std::size_t lineCount, int charWidth, int charHeight, int clientWidth,
              int clientHeight);

  int LinesPerPage() const { return lines_per_page_; }
  int ColumnsPerPage() const { return columns_per_page_; }
  int MaxFirstLine() const { return max_first_line_; }
  int MaxFirstColumn() const { return max_first_column_; }
  int FirstLine() const { return first_line_; }
  int FirstColumn() const { return first_column_; }
  int LineWidth() const { return line_width_; }

  // Scroll bar ranges in pixels (0: no scroll bar).
  int VerticalRange() const;
  int HorizontalRange() const;
  // The vertical thumb position that shows the first line.
  int VerticalThumb() const;

  // Apply an action; `thumb` is the thumb position for kThumb. The result is
  // the change of the first line (or column), by which the window's
  // contents are shifted.
  int ScrollVertical(ScrollAction action, int thumb = 0);
  int ScrollHorizontal(ScrollAction action, int thumb = 0);

  // Lines to paint for a clip area from `top` to `bottom` pixels: first
  // and last (inclusive, within the document); last < first when none.
  void LinesToPaint(int top, int bottom, long long& first, long long& last) const;
  // The y of a document line in the window.
  long long LineY(long long line) const { return (line - first_line_) * char_height_; }

 private:
  CTextViewScroll(int lineWidth, bool cappedRange) : line_width_(lineWidth), capped_(cappedRange) {}
  long long TotalHeight() const {
    return (static_cast<long long>(line_count_) + 1) * char_height_;
  }

  int line_width_;
  bool capped_;
  std::size_t line_count_ = 0;
  int char_width_ = 1;
  int char_height_ = 1;
  int lines_per_page_ = 0;
  int columns_per_page_ = 0;
  int max_first_line_ = 0;
  int max_first_column_ = 0;
  int first_line_ = 0;
  int first_column_ = 0;
};

}  // namespace kelvo
