#include "gui/viewers/image_frame.h"

#include <QFileInfo>
#include <QPainter>
#include <QVBoxLayout>

namespace kelvo::gui {

CImgView::CImgView(CImgDoc& doc, const ImageViewOptions& options, Interaction& ui, QWidget* parent)
    : CScrollSizeView(parent), model_(doc, options), ui_(ui) {
  DisplayChanged();
}

void CImgView::DisplayChanged() {
  const Rgb ink = model_.InkColour();
  display_ = MonoToImage(model_.Display(), qRgb(ink.r, ink.g, ink.b),
                         palette().color(QPalette::Base).rgb());
  SetScrollSize(QSize(model_.ScrollWidth(), model_.ScrollHeight()));
}

void CImgView::ZoomIn() {
  if (!model_.CanZoomIn()) return;
  model_.ZoomIn();
  DisplayChanged();
}

void CImgView::ZoomOut() {
  if (!model_.CanZoomOut()) return;
  model_.ZoomOut();
  DisplayChanged();
}

void CImgView::Rotate() {
  std::string message;
  if (!model_.Rotate(&message)) {
    ui_.Beep(BeepKind::Exclamation);
    ui_.Ask(message, kAppTitle, Buttons::Ok, Icon::Exclamation);
    return;
  }
  DisplayChanged();
}

void CImgView::PaintDocument(QPainter& p, const QRect&) {
  const int m = CImgViewModel::kMargin;
  const int w = model_.Display().Width();
  const int h = model_.Display().Height();
  if (!display_.isNull()) p.drawImage(QPoint(m, m), display_);
  p.setPen(QPen(Qt::black, 0));
  p.drawLine(m - 1, m - 1, w + m + 1, m - 1);
  p.drawLine(m - 1, m - 1, m - 1, h + m + 1);
  p.drawLine(w + m + 1, h + m + 1, w + m + 1, m - 1);
  p.drawLine(w + m + 1, h + m + 1, m - 1, h + m + 1);
}

CImgFrame::CImgFrame(std::unique_ptr<CImgDoc> doc, const QString& path,
                     const ImageViewOptions& options, Interaction& ui, QWidget* parent)
    : QWidget(parent), doc_(std::move(doc)) {
  setWindowTitle(QFileInfo(path).fileName());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  view_ = new CImgView(*doc_, options, ui, this);
  layout->addWidget(view_);
}

CImgFrame::~CImgFrame() = default;

}  // namespace kelvo::gui
