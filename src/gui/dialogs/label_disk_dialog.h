// The Label Disk dialog: the new disk ID of the printer floppy in the
// active floppy window, at most 30 characters.
#pragma once

#include <QDialog>

class QLineEdit;

namespace kelvo::gui {

class CLabelDiskDlg final : public QDialog {
  Q_OBJECT
 public:
  explicit CLabelDiskDlg(const QString& disk_id, QWidget* parent = nullptr);
  QString DiskId() const;
  QLineEdit* Field() const { return field_; }

 private:
  QLineEdit* field_;
};

}  // namespace kelvo::gui
