#include "gui/viewers/scroll_size_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cstring>

namespace kelvo::gui {

CScrollSizeView::CScrollSizeView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  horizontalScrollBar()->setSingleStep(16);
  verticalScrollBar()->setSingleStep(16);
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(),
          [this] { viewport()->update(); });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(),
          [this] { viewport()->update(); });
}

void CScrollSizeView::SetScrollSize(QSize size) {
  scroll_size_ = size.expandedTo(QSize(0, 0));
  UpdateRanges();
  viewport()->update();
}

QSize CScrollSizeView::sizeHint() const {
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return scroll_size_.boundedTo(QSize(640, 480)).expandedTo(QSize(240, 180)) + QSize(bar, bar) +
         2 * QSize(frameWidth(), frameWidth());
}

QPoint CScrollSizeView::Origin() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CScrollSizeView::UpdateRanges() {
  const QSize page = viewport()->size();
  horizontalScrollBar()->setPageStep(std::max(page.width(), 1));
  verticalScrollBar()->setPageStep(std::max(page.height(), 1));
  horizontalScrollBar()->setRange(0, std::max(scroll_size_.width() - page.width(), 0));
  verticalScrollBar()->setRange(0, std::max(scroll_size_.height() - page.height(), 0));
}

void CScrollSizeView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateRanges();
}

void CScrollSizeView::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  const QPoint origin = Origin();
  p.translate(-origin);
  PaintDocument(p, e->rect().translated(origin));
  ++paint_count_;
}

QImage MonoToImage(const CMonoBitmap& bitmap, QRgb ink, QRgb background) {
  if (bitmap.Empty()) return {};
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_Mono);
  if (image.isNull()) return {};
  // Both keep the most significant bit leftmost; only the row padding differs.
  image.setColorTable({ink, background});
  const int bytes = std::min<int>(bitmap.Stride(), static_cast<int>(image.bytesPerLine()));
  for (int y = 0; y < bitmap.Height(); ++y) std::memcpy(image.scanLine(y), bitmap.Row(y), bytes);
  return image;
}

}  // namespace kelvo::gui
