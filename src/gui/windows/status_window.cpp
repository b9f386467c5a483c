#include "gui/windows/status_window.h"

#include <QPainter>

namespace kelvo::gui {

CStatusWnd::CStatusWnd(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CStatusWnd::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  setToolTip(text);
  repaint();
}

QSize CStatusWnd::sizeHint() const {
  return {fontMetrics().horizontalAdvance(text_) + 4, fontMetrics().height() + 4};
}

void CStatusWnd::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Button));
  p.setPen(palette().color(QPalette::ButtonText));
  const int y = (height() - fontMetrics().height()) / 2 + fontMetrics().ascent();
  p.drawText(2, y, fontMetrics().elidedText(text_, Qt::ElideMiddle, width() - 4));
}

}  // namespace kelvo::gui
