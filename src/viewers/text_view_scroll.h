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

  int LinesPerPage() const { return linesPerPage_; }
  int ColumnsPerPage() const { return columnsPerPage_; }
  int MaxFirstLine() const { return maxFirstLine_; }
  int MaxFirstColumn() const { return maxFirstColumn_; }
  int FirstLine() const { return firstLine_; }
  int FirstColumn() const { return firstColumn_; }
  int LineWidth() const { return lineWidth_; }

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
  long long LineY(long long line) const { return (line - firstLine_) * charHeight_; }

 private:
  CTextViewScroll(int lineWidth, bool cappedRange) : lineWidth_(lineWidth), capped_(cappedRange) {}
  long long TotalHeight() const {
    return (static_cast<long long>(lineCount_) + 1) * charHeight_;
  }

  int lineWidth_;
  bool capped_;
  std::size_t lineCount_ = 0;
  int charWidth_ = 1;
  int charHeight_ = 1;
  int linesPerPage_ = 0;
  int columnsPerPage_ = 0;
  int maxFirstLine_ = 0;
  int maxFirstColumn_ = 0;
  int firstLine_ = 0;
  int firstColumn_ = 0;
};

}  // namespace kelvo
