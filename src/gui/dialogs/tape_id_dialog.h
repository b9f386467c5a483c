// CTapeIdDlg: asks for the Tape ID that heads a printed tape list.
#pragma once

#include <QDialog>

class QLineEdit;

namespace kelvo::gui {

class CTapeIdDlg final : public QDialog {
  Q_OBJECT
 public:
  // Opens with `tape_id` in the field and the focus in it.
  explicit CTapeIdDlg(const QString& tape_id, QWidget* parent = nullptr);
  QString TapeId() const;
  QLineEdit* Field() const { return field_; }

 private:
  QLineEdit* field_;
};

}  // namespace kelvo::gui
