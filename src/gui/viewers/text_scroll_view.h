// The common part of the source and task views: lines of text in the display
// font, scrolled by whole lines and columns. The scroll bars carry the
// engine's ranges; every scroll action goes through its arithmetic.
#pragma once

#include <QAbstractScrollArea>
#include <cstddef>

#include "viewers/text_view_scroll.h"

class QPainter;

namespace kelvo::gui {

class CTextScrollView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  CTextScrollView(const CTextViewScroll& scroll, QWidget* parent = nullptr);

  const CTextViewScroll& Scroll() const { return scroll_; }
  // A whole line width and some 25 lines.
  QSize sizeHint() const override;
  // Applies a scroll action as the scroll bars, keys and wheel do.
  void ScrollVertical(ScrollAction action, int thumb = 0);
  void ScrollHorizontal(ScrollAction action, int thumb = 0);

  // Times the view has painted, and the document lines the last paint drew
  // (last < first when none); for tests and measurements.
  int PaintCount() const { return paint_count_; }
  long long LastPaintedFirstLine() const { return painted_first_; }
  long long LastPaintedLastLine() const { return painted_last_; }

 protected:
  virtual std::size_t LineCount() const = 0;
  // Draws document line `line` with its top at `y`; the painter holds the
  // display font and black text.
  virtual void PaintLine(QPainter& p, std::size_t line, int y, const QRect& clip) = 0;
  // Brings the page sizes and scroll ranges up to date (after a resize or
  // a new document).
  void Relayout();
  int FirstColumnX() const;

  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void scrollContentsBy(int, int) override {}

 private:
  void OnVerticalAction(int action);
  void OnHorizontalAction(int action);
  void SyncScrollBars();

  CTextViewScroll scroll_;
  bool syncing_ = false;
  int paint_count_ = 0;
  long long painted_first_ = 0;
  long long painted_last_ = -1;
};

}  // namespace kelvo::gui
