#include "gui/viewers/text_frame.h"

#include <QFileInfo>
#include <QPainter>
#include <QVBoxLayout>

#include "gui/viewers/viewer_display_font.h"
#include "viewers/source_colours.h"

namespace kelvo::gui {

CSourceView::CSourceView(const CSourceDoc& doc, QWidget* parent)
    : CTextScrollView(CTextViewScroll::ForSource(), parent), doc_(doc) {
  Relayout();
}

void CSourceView::PaintLine(QPainter& p, std::size_t line, int y, const QRect& clip) {
  const DisplayFont& f = TheDisplayFont();
  const std::vector<SourceCell> cells = SourceDisplayCells(doc_.Line(line), doc_.SourceType());
  // Every character takes one column of the fixed-pitch font, so the text
  // stays in step with the column arithmetic of the scrolling.
  int x = 16 - FirstColumnX();
  for (const SourceCell& cell : cells) {
    if (x >= clip.left() + clip.width()) break;
    if (x + f.char_width > clip.left() && cell.ch != ' ') {
      const Rgb c = SourceClassColour(cell.cls);
      p.setPen(QColor(c.r, c.g, c.b));
      p.drawText(x, y + f.ascent, QString(QChar::fromLatin1(cell.ch)));
    }
    x += f.char_width;
  }
}

CTaskView::CTaskView(const CTaskDoc& doc, QWidget* parent)
    : CTextScrollView(CTextViewScroll::ForTask(), parent), doc_(doc) {
  Relayout();
}

void CTaskView::PaintLine(QPainter& p, std::size_t line, int y, const QRect&) {
  const std::string text = doc_.Line(line);
  p.drawText(-FirstColumnX(), y + TheDisplayFont().ascent, QString::fromLatin1(text));
}

template <class Doc, class View>
CTextFrame<Doc, View>::CTextFrame(std::unique_ptr<Doc> doc, const QString& path, QWidget* parent)
    : QWidget(parent), doc_(std::move(doc)) {
  setWindowTitle(QFileInfo(path).fileName());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  view_ = new View(*doc_, this);
  layout->addWidget(view_);
}

template class CTextFrame<CSourceDoc, CSourceView>;
template class CTextFrame<CTaskDoc, CTaskView>;

}  // namespace kelvo::gui
