// The "Select Tape Drive" dialog: a drop-down list of the present tape drives
// (device-table order, the first selected). OK makes the chosen drive the
// program's SelectedTapeName; Cancel leaves it as it was.
#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

#include "gui/windows/device_list.h"
#include "gui/shell/shell_context.h"

class QComboBox;

namespace kelvo::gui {

// The names of the present tape drives among `devices`, in their order.
QStringList TapeDriveNames(const std::vector<PresentDevice>& devices);

class CSelectTapeDriveDlg : public QDialog {
  Q_OBJECT
 public:
  CSelectTapeDriveDlg(ShellContext& ctx, const QStringList& drives, QWidget* parent = nullptr);
  void accept() override;

  QComboBox* Drives() const { return drives_; }

 private:
  ShellContext& ctx_;
  QComboBox* drives_;
};

// Shows the dialog; true when the user chose a drive with OK.
bool AskForTapeDrive(ShellContext& ctx, const QStringList& drives, QWidget* parent);

}  // namespace kelvo::gui
