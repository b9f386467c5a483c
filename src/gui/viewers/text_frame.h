// The source and task windows: plain frames, each holding one read-only
// text view in the display font.
#pragma once

#include <QWidget>
#include <memory>

#include "gui/viewers/text_scroll_view.h"
#include "viewers/source_doc.h"
#include "viewers/task_doc.h"

namespace kelvo::gui {

// A source file's lines, coloured by the syntax of its source type, with a
// 16-pixel left margin; tabs expanded, line feeds shown as spaces.
class CSourceView : public CTextScrollView {
  Q_OBJECT
 public:
  CSourceView(const CSourceDoc& doc, QWidget* parent = nullptr);

 protected:
  std::size_t LineCount() const override { return doc_.LineCount(); }
  void PaintLine(QPainter& p, std::size_t line, int y, const QRect& clip) override;

 private:
  const CSourceDoc& doc_;
};

// A task file's dump lines, made by the document only for the lines in view.
class CTaskView : public CTextScrollView {
  Q_OBJECT
 public:
  CTaskView(const CTaskDoc& doc, QWidget* parent = nullptr);

 protected:
  std::size_t LineCount() const override { return doc_.LineCount(); }
  void PaintLine(QPainter& p, std::size_t line, int y, const QRect& clip) override;

 private:
  const CTaskDoc& doc_;
};

// The frame of a text document: owns the document and its one view.
template <class Doc, class View>
class CTextFrame : public QWidget {
 public:
  CTextFrame(std::unique_ptr<Doc> doc, const QString& path, QWidget* parent = nullptr);
  ~CTextFrame() override { delete view_; }  // the view reads the document

  const Doc& Document() const { return *doc_; }
  View* TextView() const { return view_; }

 private:
  std::unique_ptr<Doc> doc_;
  View* view_;
};

class CSourceFrame : public CTextFrame<CSourceDoc, CSourceView> {
  Q_OBJECT
 public:
  using CTextFrame::CTextFrame;
  CSourceView* View() const { return TextView(); }
};

class CTaskFrame : public CTextFrame<CTaskDoc, CTaskView> {
  Q_OBJECT
 public:
  using CTextFrame::CTextFrame;
  CTaskView* View() const { return TextView(); }
};

}  // namespace kelvo::gui
