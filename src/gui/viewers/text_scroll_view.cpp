#include "gui/viewers/text_scroll_view.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "gui/viewers/viewer_display_font.h"

namespace kelvo::gui {
namespace {

std::optional<ScrollAction> ActionOf(int slider_action) {
  switch (slider_action) {
    case QAbstractSlider::SliderSingleStepSub: return ScrollAction::kLineUp;
    case QAbstractSlider::SliderSingleStepAdd: return ScrollAction::kLineDown;
    case QAbstractSlider::SliderPageStepSub: return ScrollAction::kPageUp;
    case QAbstractSlider::SliderPageStepAdd: return ScrollAction::kPageDown;
    case QAbstractSlider::SliderToMinimum: return ScrollAction::kTop;
    case QAbstractSlider::SliderToMaximum: return ScrollAction::kBottom;
    case QAbstractSlider::SliderMove: return ScrollAction::kThumb;
    default: return std::nullopt;
  }
}

}  // namespace

CTextScrollView::CTextScrollView(const CTextViewScroll& scroll, QWidget* parent)
    : QAbstractScrollArea(parent), scroll_(scroll) {
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
          &CTextScrollView::OnVerticalAction);
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
          &CTextScrollView::OnHorizontalAction);
}

void CTextScrollView::Relayout() {
  const DisplayFont& f = TheDisplayFont();
  scroll_.Layout(LineCount(), f.char_width, f.char_height, viewport()->width(),
                 viewport()->height());
  SyncScrollBars();
  viewport()->update();
}

void CTextScrollView::SyncScrollBars() {
  const DisplayFont& f = TheDisplayFont();
  syncing_ = true;
  QScrollBar* v = verticalScrollBar();
  const int vrange = scroll_.VerticalRange();
  // The thumb's size only: the range may stand for a scaled-down height.
  const long long total = (static_cast<long long>(LineCount()) + 1) * f.char_height;
  const long long page = static_cast<long long>(scroll_.LinesPerPage()) * f.char_height;
  v->setRange(0, vrange);
  v->setSingleStep(1);
  v->setPageStep(static_cast<int>(std::max(1LL, total > 0 ? page * vrange / total : 1)));
  v->setSliderPosition(scroll_.VerticalThumb());
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, scroll_.HorizontalRange());
  h->setSingleStep(1);
  h->setPageStep(std::max(1, scroll_.ColumnsPerPage() * f.char_width));
  h->setSliderPosition(FirstColumnX());
  syncing_ = false;
}

QSize CTextScrollView::sizeHint() const {
  const DisplayFont& f = TheDisplayFont();
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return {16 + scroll_.LineWidth() * f.char_width + bar + 2 * frameWidth(),
          25 * f.char_height + bar + 2 * frameWidth()};
}

int CTextScrollView::FirstColumnX() const {
  return scroll_.FirstColumn() * TheDisplayFont().char_width;
}

void CTextScrollView::ScrollVertical(ScrollAction action, int thumb) {
  const int change = scroll_.ScrollVertical(action, thumb);
  if (change != 0) viewport()->scroll(0, -change * TheDisplayFont().char_height);
  SyncScrollBars();
}

void CTextScrollView::ScrollHorizontal(ScrollAction action, int thumb) {
  const int change = scroll_.ScrollHorizontal(action, thumb);
  if (change != 0) viewport()->scroll(-change * TheDisplayFont().char_width, 0);
  SyncScrollBars();
}

void CTextScrollView::OnVerticalAction(int action) {
  if (syncing_) return;
  if (const auto a = ActionOf(action)) ScrollVertical(*a, verticalScrollBar()->sliderPosition());
}

void CTextScrollView::OnHorizontalAction(int action) {
  if (syncing_) return;
  if (const auto a = ActionOf(action))
    ScrollHorizontal(*a, horizontalScrollBar()->sliderPosition());
}

void CTextScrollView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  Relayout();
}

void CTextScrollView::wheelEvent(QWheelEvent* e) {
  // Three lines (or columns) per notch of the wheel.
  const QPoint steps = e->angleDelta() / 40;
  for (int i = 0; i < std::abs(steps.y()); ++i)
    ScrollVertical(steps.y() > 0 ? ScrollAction::kLineUp : ScrollAction::kLineDown);
  for (int i = 0; i < std::abs(steps.x()); ++i)
    ScrollHorizontal(steps.x() > 0 ? ScrollAction::kLineUp : ScrollAction::kLineDown);
  e->accept();
}

void CTextScrollView::keyPressEvent(QKeyEvent* e) {
  const bool ctrl = e->modifiers().testFlag(Qt::ControlModifier);
  switch (e->key()) {
    case Qt::Key_Up: ScrollVertical(ScrollAction::kLineUp); break;
    case Qt::Key_Down: ScrollVertical(ScrollAction::kLineDown); break;
    case Qt::Key_PageUp: ScrollVertical(ScrollAction::kPageUp); break;
    case Qt::Key_PageDown: ScrollVertical(ScrollAction::kPageDown); break;
    case Qt::Key_Left: ScrollHorizontal(ScrollAction::kLineUp); break;
    case Qt::Key_Right: ScrollHorizontal(ScrollAction::kLineDown); break;
    case Qt::Key_Home:
      if (ctrl)
        ScrollVertical(ScrollAction::kTop);
      else
        ScrollHorizontal(ScrollAction::kTop);
      break;
    case Qt::Key_End:
      if (ctrl)
        ScrollVertical(ScrollAction::kBottom);
      else
        ScrollHorizontal(ScrollAction::kBottom);
      break;
    default: QAbstractScrollArea::keyPressEvent(e); return;
  }
  e->accept();
}

void CTextScrollView::paintEvent(QPaintEvent* e) {
  const DisplayFont& f = TheDisplayFont();
  QPainter p(viewport());
  p.setFont(f.font);
  p.setPen(Qt::black);
  const QRect clip = e->rect();
  long long first = 0, last = -1;
  scroll_.LinesToPaint(clip.top(), clip.top() + clip.height(), first, last);
  painted_first_ = 0;
  painted_last_ = -1;
  for (long long line = first; line <= last; ++line) {
    const long long y = scroll_.LineY(line);
    if (y + f.char_height <= 0) continue;  // above the window
    if (painted_last_ < painted_first_) painted_first_ = line;
    painted_last_ = line;
    PaintLine(p, static_cast<std::size_t>(line), static_cast<int>(y), clip);
  }
  ++paint_count_;
}

}  // namespace kelvo::gui
