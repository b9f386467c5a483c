// The "Drive Information" dialog of a tape drive: its block sizes, partition
// count and one mark per feature (supported or not), with the vendor and
// product in the caption when the device gives them.
#pragma once

#include <QDialog>
#include <QHash>

#include "tape/tape_drive_info.h"

class QGridLayout;
class QLabel;

namespace kelvo::gui {

class CTapeDriveInfoDlg : public QDialog {
  Q_OBJECT
 public:
  // Shows `info`; a drive that could not be opened leaves every field empty
  // and every mark at "not supported".
  explicit CTapeDriveInfoDlg(const TapeDriveInfo& info, QWidget* parent = nullptr);

  // The text of a number field (1100, 1101, 1102, 1152).
  QString FieldText(int field) const;
  // Whether the mark of a feature field shows "supported".
  bool FeatureMarked(int field) const;

 private:
  QLabel* AddNumber(QGridLayout* grid, int row, const QString& label, int field);

  QHash<int, QLabel*> numbers_;
  QHash<int, bool> marks_;
};

}  // namespace kelvo::gui
