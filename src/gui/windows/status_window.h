// CStatusWnd: the one-line caption strip above a tree or file list. Setting
// the text it already holds does nothing; a new text is repainted at once.
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

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QString text_;
};

}  // namespace kelvo::gui
