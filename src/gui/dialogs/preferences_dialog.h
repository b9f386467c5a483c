// The "Preferences" dialog: how source files are restored, the startup
// folder (chosen with "Select Directory"), and the image viewer's zoom.
#pragma once

#include <QDialog>

#include "gui/shell/shell_context.h"

class QRadioButton;
class QLineEdit;
class QSpinBox;

namespace kelvo::gui {

class CPreferencesDlg : public QDialog {
  Q_OBJECT
 public:
  CPreferencesDlg(ShellContext& ctx, QWidget* parent = nullptr);
  void accept() override;
  // Opens "Select Directory"; after its OK the field shows "Tape Restore Path".
  void Browse();

  QRadioButton* retain_ = nullptr;
  QRadioButton* convert_ = nullptr;
  QLineEdit* startup_ = nullptr;
  QSpinBox* zoom_ = nullptr;
  QSpinBox* increment_ = nullptr;

 private:
  ShellContext& ctx_;
};

}  // namespace kelvo::gui
