#include "gui/viewers/font_frame.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "viewers/font_grid.h"

namespace kelvo::gui {

std::vector<FontPropertyLine> FontPropertyLines(const CFontDoc& doc) {
  const auto dots = [](int n) { return QStringLiteral("%1 dots").arg(n); };
  return {
      {QStringLiteral("Orientation"), true},
      {QString::fromLatin1(OrientationText(doc.Orientation())), false},
      {QStringLiteral("Pitch"), true},
      {QString::fromLatin1(PitchText(doc.Pitch())), false},
      {QStringLiteral("Font Type"), true},
      {QString::fromLatin1(FontTypeText(doc.FontType())), false},
      {QStringLiteral("Size"), true},
      {QStringLiteral("%1 point").arg(doc.SizeInPoints()), false},
      {QStringLiteral("Line Spacing"), true},
      {dots(doc.LineSpacing()), false},
      {QStringLiteral("Average"), true},
      {QStringLiteral("Character Spacing"), true},
      {dots(doc.AverageSpacing()), false},
      {QStringLiteral("Baseline to"), true},
      {QStringLiteral("Top of Cell"), true},
      {dots(doc.BaselineToTop()), false},
      {QStringLiteral("Baseline to"), true},
      {QStringLiteral("Bottom of Cell"), true},
      {dots(doc.BaselineToBottom()), false},
  };
}

CFontProperties::CFontProperties(const CFontDoc& doc, QWidget* parent)
    : CScrollSizeView(parent), doc_(doc) {
  SetScrollSize(QSize(100, 280));
}

void CFontProperties::PaintDocument(QPainter& p, const QRect&) {
  QFont value_font = font();
  value_font.setWeight(QFont::Normal);
  QFont heading_font = value_font;
  heading_font.setWeight(QFont::Bold);
  p.setPen(palette().color(QPalette::Text));
  const int width = viewport()->width();
  int y = 0;
  for (const FontPropertyLine& line : FontPropertyLines(doc_)) {
    p.setFont(line.heading ? heading_font : value_font);
    const QFontMetrics fm(p.font());
    const int x = (width - fm.horizontalAdvance(line.text)) / 2;
    p.drawText(x, y + fm.ascent(), line.text);
    y += fm.height();
    if (!line.heading) y += 5;
  }
}

CFontView::CFontView(const CFontDoc& doc, QWidget* parent) : CScrollSizeView(parent), doc_(doc) {
  const FontGridPicture grid = PaintFontGrid(doc_);
  SetScrollSize(QSize(grid.size.width, grid.size.height));
  picture_ = MonoToImage(grid.bitmap, qRgb(0, 0, 0), palette().color(QPalette::Base).rgb());
  note_ = QString::fromStdString(grid.note);
}

void CFontView::PaintDocument(QPainter& p, const QRect& clip) {
  painted_first_ = painted_last_ = -1;
  const int cell = doc_.CellHeight();
  if (cell <= 0 || picture_.isNull()) return;
  // Only the rows of the clip box are drawn: the grid has at most 16 rows.
  const int bottom = clip.top() + clip.height();
  const int first = clip.top() / cell;
  const int last = std::min((bottom + cell - 1) / cell, 15);
  if (last < first) return;
  const QRect rows(clip.left(), first * cell, clip.width(), (last - first + 1) * cell);
  const QRect area = rows.intersected(picture_.rect());
  if (!area.isEmpty()) p.drawImage(area.topLeft(), picture_, area);
  painted_first_ = first;
  painted_last_ = last;
}

CFontFrame::CFontFrame(std::unique_ptr<CFontDoc> doc, const QString& path, QWidget* parent)
    : QWidget(parent), doc_(std::move(doc)) {
  setWindowTitle(QFileInfo(path).fileName());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setChildrenCollapsible(false);
  properties_ = new CFontProperties(*doc_, splitter_);
  view_ = new CFontView(*doc_, splitter_);
  splitter_->addWidget(properties_);
  splitter_->addWidget(view_);
  splitter_->setStretchFactor(1, 1);
  layout->addWidget(splitter_);
}

void CFontFrame::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (sized_) return;
  // The properties pane starts 110 wide; the glyph view takes the rest.
  sized_ = true;
  splitter_->setSizes({110, std::max(splitter_->width() - 110 - splitter_->handleWidth(), 100)});
}

CFontFrame::~CFontFrame() {
  // The panes read the document: they go first.
  delete splitter_;
}

}  // namespace kelvo::gui
