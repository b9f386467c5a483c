#include "viewers/text_view_scroll.h"

#include <algorithm>
#include <climits>

namespace kelvo {

CTextViewScroll CTextViewScroll::ForSource() { return CTextViewScroll(80, false); }
CTextViewScroll CTextViewScroll::ForTask() { return CTextViewScroll(110, true); }

void CTextViewScroll::Layout(std::size_t lineCount, int charWidth, int charHeight,
                             int clientWidth, int clientHeight) {
  lineCount_ = lineCount;
  charWidth_ = std::max(charWidth, 1);
  charHeight_ = std::max(charHeight, 1);
  linesPerPage_ = std::max(clientHeight, 0) / charHeight_;
  columnsPerPage_ = std::max(clientWidth, 0) / charWidth_;
  const long long maxLine = static_cast<long long>(lineCount) - linesPerPage_ + 1;
  maxFirstLine_ = static_cast<int>(std::clamp(maxLine, 0LL, static_cast<long long>(INT_MAX)));
  maxFirstColumn_ = std::max(lineWidth_ - columnsPerPage_, 0);
  firstLine_ = std::clamp(firstLine_, 0, maxFirstLine_);
  firstColumn_ = std::clamp(firstColumn_, 0, maxFirstColumn_);
}

int CTextViewScroll::VerticalRange() const {
  if (capped_) return static_cast<int>(std::min(TotalHeight(), static_cast<long long>(kMaxRange)));
  if (maxFirstLine_ < 1) return 0;
  return static_cast<int>(std::min(TotalHeight(), static_cast<long long>(INT_MAX)));
}

int CTextViewScroll::HorizontalRange() const {
  return maxFirstColumn_ >= 1 ? lineWidth_ * charWidth_ : 0;
}

int CTextViewScroll::VerticalThumb() const {
  const long long y = static_cast<long long>(firstLine_) * charHeight_;
  if (!capped_ || TotalHeight() <= kMaxRange) return static_cast<int>(y);
  return static_cast<int>(y * kMaxRange / TotalHeight());
}

int CTextViewScroll::ScrollVertical(ScrollAction action, int thumb) {
  long long line = firstLine_;
  switch (action) {
    case ScrollAction::kLineUp: line -= 1; break;
    case ScrollAction::kLineDown: line += 1; break;
    case ScrollAction::kPageUp: line -= linesPerPage_; break;
    case ScrollAction::kPageDown: line += std::max(linesPerPage_, 1); break;
    case ScrollAction::kTop: line = 0; break;
    case ScrollAction::kBottom: line = maxFirstLine_; break;
    case ScrollAction::kThumb: {
      const long long pos = std::max(thumb, 0);
      if (capped_ && TotalHeight() > kMaxRange) {
        // The range stands for the whole height scaled down; the end of the
        // range is the last page.
        line = pos >= kMaxRange ? maxFirstLine_
                                : (pos * TotalHeight() + static_cast<long long>(kMaxRange) *
                                                             charHeight_ - 1) /
                                      (static_cast<long long>(kMaxRange) * charHeight_);
      } else {
        line = (pos + charHeight_ - 1) / charHeight_;
      }
      break;
    }
  }
  const int next = static_cast<int>(std::clamp(line, 0LL, static_cast<long long>(maxFirstLine_)));
  const int change = next - firstLine_;
  firstLine_ = next;
  return change;
}

int CTextViewScroll::ScrollHorizontal(ScrollAction action, int thumb) {
  long long column = firstColumn_;
  switch (action) {
    case ScrollAction::kLineUp: column -= 1; break;
    case ScrollAction::kLineDown: column += 1; break;
    case ScrollAction::kPageUp: column -= columnsPerPage_; break;
    case ScrollAction::kPageDown: column += columnsPerPage_; break;
    case ScrollAction::kTop: column = 0; break;
    case ScrollAction::kBottom: column = maxFirstColumn_; break;
    case ScrollAction::kThumb: column = std::max(thumb, 0) / charWidth_; break;
  }
  const int next =
      static_cast<int>(std::clamp(column, 0LL, static_cast<long long>(maxFirstColumn_)));
  const int change = next - firstColumn_;
  firstColumn_ = next;
  return change;
}

void CTextViewScroll::LinesToPaint(int top, int bottom, long long& first, long long& last) const {
  first = std::max(0LL, static_cast<long long>(firstLine_) - 1 + top / charHeight_);
  last = static_cast<long long>(firstLine_) + 1 + bottom / charHeight_;
  last = std::min(last, static_cast<long long>(lineCount_) - 1);
}

}  // namespace kelvo
