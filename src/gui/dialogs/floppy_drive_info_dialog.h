// The "Floppy Drive Information" dialog: which of the four printer formats
// drives A: and B: support, one check mark per format the drive reports.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

class QLabel;

namespace kelvo::gui {

class CFloppyDriveInfoDlg final : public QDialog {
  Q_OBJECT
 public:
  // `devices` holds the device strings bound to A: and B: (empty: no drive).
  explicit CFloppyDriveInfoDlg(const std::array<QString, 2>& devices, QWidget* parent = nullptr);

  static constexpr int kRows = 4;
  // The format texts of the rows, top to bottom.
  static QString RowText(int row);
  // Whether the row of format `row` carries a mark for drive 0 (A:) or 1 (B:).
  bool Marked(int row, int drive) const;

 private:
  std::array<std::array<QLabel*, 2>, kRows> marks_{};
};

}  // namespace kelvo::gui
