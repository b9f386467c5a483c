// CStatusWnd: the one-line caption strip above a tree or file list. Setting
// the text it already holds does nothing; a new text is repainted at once.
// A text too long for the strip loses its middle; the tooltip has it whole.
#pragma once

#include <QWidget>

namespace kelvo::gui {

class CStatusWnd : public QWidget {
  Q_OBJECT
 public:
  explicit CStatusWnd(QWidget* parent = nullptr);
  void SetText(const QString& text);
  QString Text() const { return text_; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  // Whole: the strip asks for room for its whole text (a count, a size);
  // otherwise it can be narrowed, and then elides the text's middle.
  void SetKeepWhole(bool whole);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QString text_;
  bool whole_ = false;
};

}  // namespace kelvo::gui
