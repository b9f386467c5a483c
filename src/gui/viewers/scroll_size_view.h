// A scrolling view with a scroll size in pixels: the scroll bars cover what
// does not fit in the window, and painting is shifted by their positions.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <QSize>

#include "viewers/mono_bitmap.h"

class QPainter;

namespace kelvo::gui {

class CScrollSizeView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit CScrollSizeView(QWidget* parent = nullptr);

  void SetScrollSize(QSize size);
  QSize ScrollSize() const { return scroll_size_; }
  // The scroll size, but no larger than 640 by 480 nor smaller than 240 by 180.
  QSize sizeHint() const override;
  // The scroll position: the document point at the window's top left corner.
  QPoint Origin() const;
  // Times the view has painted (for tests and measurements).
  int PaintCount() const { return paint_count_; }

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  // Paints the area `clip` given in document coordinates; the painter is
  // already shifted by the scroll position.
  virtual void PaintDocument(QPainter& p, const QRect& clip) = 0;

 private:
  void UpdateRanges();

  QSize scroll_size_;
  int paint_count_ = 0;
};

// A monochrome bitmap as an image: 0 bits in `ink`, 1 bits in `background`.
QImage MonoToImage(const CMonoBitmap& bitmap, QRgb ink, QRgb background);

}  // namespace kelvo::gui
