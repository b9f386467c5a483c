// The font window: a splitter with the properties pane on the left and the
// glyph view on the right, both over the same font document.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "gui/viewers/scroll_size_view.h"
#include "viewers/font_doc.h"

class QSplitter;

namespace kelvo::gui {

// One line of the properties pane.
struct FontPropertyLine {
  QString text;
  bool heading = false;  // headings bold; after each value 5 more pixels
};

// The lines of the properties pane, top to bottom.
std::vector<FontPropertyLine> FontPropertyLines(const CFontDoc& doc);

class CFontProperties : public CScrollSizeView {
  Q_OBJECT
 public:
  CFontProperties(const CFontDoc& doc, QWidget* parent = nullptr);
  QSize sizeHint() const override { return {110, 50}; }

 protected:
  void PaintDocument(QPainter& p, const QRect& clip) override;

 private:
  const CFontDoc& doc_;
};

class CFontView : public CScrollSizeView {
  Q_OBJECT
 public:
  CFontView(const CFontDoc& doc, QWidget* parent = nullptr);
  QSize sizeHint() const override { return {100, 50}; }

  // The rows the last paint drew (first and last, -1 when none).
  int LastPaintedFirstRow() const { return painted_first_; }
  int LastPaintedLastRow() const { return painted_last_; }
  // The whole grid as painted by the engine.
  const QImage& Picture() const { return picture_; }
  const QString& Note() const { return note_; }

 protected:
  void PaintDocument(QPainter& p, const QRect& clip) override;

 private:
  const CFontDoc& doc_;
  QImage picture_;
  QString note_;
  int painted_first_ = -1;
  int painted_last_ = -1;
};

class CFontFrame : public QWidget {
  Q_OBJECT
 public:
  CFontFrame(std::unique_ptr<CFontDoc> doc, const QString& path, QWidget* parent = nullptr);
  ~CFontFrame() override;

  const CFontDoc& Document() const { return *doc_; }
  QSplitter* Splitter() const { return splitter_; }
  CFontProperties* Properties() const { return properties_; }
  CFontView* View() const { return view_; }
  QSize sizeHint() const override { return {560, 380}; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  std::unique_ptr<CFontDoc> doc_;
  bool sized_ = false;
  QSplitter* splitter_;
  CFontProperties* properties_;
  CFontView* view_;
};

}  // namespace kelvo::gui
