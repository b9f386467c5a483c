#include "viewers/text_view_scroll.h"

#include <algorithm>
#include <climits>

namespace kelvo {

CTextViewScroll CTextViewScroll::ForSource() { return CTextViewScroll(80, false); }
CTextViewScroll CTextViewScroll::ForTask() { return CTextViewScroll(110, true); }

void CTextViewScroll::Layout(std::size_t lineCount, int charWidth, int charHeight,
                             int clientWidth, int clientHeight) {
  line_count_ = lineCount;
  char_width_ = std::max(charWidth, 1);
  char_height_ = std::max(charHeight, 1);
  lines_per_page_ = std::max(clientHeight, 0) / char_height_;
  columns_per_page_ = std::max(clientWidth, 0) / char_width_;
  const long long maxLine = static_cast<long long>(lineCount) - lines_per_page_ + 1;
  max_first_line_ = static_cast<int>(std::clamp(maxLine, 0LL, static_cast<long long>(INT_MAX)));
  max_first_column_ = std::max(line_width_ - columns_per_page_, 0);
  first_line_ = std::clamp(first_line_, 0, max_first_line_);
  first_column_ = std::clamp(first_column_, 0, max_first_column_);
}

int CTextViewScroll::VerticalRange() const {
  if (capped_) return static_cast<int>(std::min(TotalHeight(), static_cast<long long>(kMaxRange)));
  if (max_first_line_ < 1) return 0;
  return static_cast<int>(std::min(TotalHeight(), static_cast<long long>(INT_MAX)));
}

int CTextViewScroll::HorizontalRange() const {
  return max_first_column_ >= 1 ? line_width_ * char_width_ : 0;
}

int CTextViewScroll::VerticalThumb() const {
  const long long y = static_cast<long long>(first_line_) * char_height_;
  if (!capped_ || TotalHeight() <= kMaxRange) return static_cast<int>(y);
  return static_cast<int>(y * kMaxRange / TotalHeight());
}

int CTextViewScroll::ScrollVertical(ScrollAction action, int thumb) {
  long long line = first_line_;
  switch (action) {
    case ScrollAction::kLineUp: line -= 1; break;
    case ScrollAction::kLineDown: line += 1; break;
    case ScrollAction::kPageUp: line -= lines_per_page_; break;
    case ScrollAction::kPageDown: line += std::max(lines_per_page_, 1); break;
    case ScrollAction::kTop: line = 0; break;
    case ScrollAction::kBottom: line = max_first_line_; break;
    case ScrollAction::kThumb: {
      const long long pos = std::max(thumb, 0);
      if (capped_ && TotalHeight() > kMaxRange) {
        // The range stands for the whole height scaled down; the end of the
        // range is the last page.
        line = pos >= kMaxRange ? max_first_line_
                                : (pos * TotalHeight() + static_cast<long long>(kMaxRange) *
                                                             char_height_ - 1) /
                                      (static_cast<long long>(kMaxRange) * char_height_);
      } else {
        line = (pos + char_height_ - 1) / char_height_;
      }
      break;
    }
  }
  const int next = static_cast<int>(std::clamp(line, 0LL, static_cast<long long>(max_first_line_)));
  const int change = next - first_line_;
  first_line_ = next;
  return change;
}

int CTextViewScroll::ScrollHorizontal(ScrollAction action, int thumb) {
  long long column = first_column_;
  switch (action) {
    case ScrollAction::kLineUp: column -= 1; break;
    case ScrollAction::kLineDown: column += 1; break;
    case ScrollAction::kPageUp: column -= columns_per_page_; break;
    case ScrollAction::kPageDown: column += columns_per_page_; break;
    case ScrollAction::kTop: column = 0; break;
    case ScrollAction::kBottom: column = max_first_column_; break;
    case ScrollAction::kThumb: column = std::max(thumb, 0) / char_width_; break;
  }
  const int next =
      static_cast<int>(std::clamp(column, 0LL, static_cast<long long>(max_first_column_)));
  const int change = next - first_column_;
  first_column_ = next;
  return change;
}

void CTextViewScroll::LinesToPaint(int top, int bottom, long long& first, long long& last) const {
  first = std::max(0LL, static_cast<long long>(first_line_) - 1 + top / char_height_);
  last = static_cast<long long>(first_line_) + 1 + bottom / char_height_;
  last = std::min(last, static_cast<long long>(line_count_) - 1);
}

}  // namespace kelvo
