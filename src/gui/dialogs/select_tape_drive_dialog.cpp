#include "gui/dialogs/select_tape_drive_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kelvo::gui {

QStringList TapeDriveNames(const std::vector<PresentDevice>& devices) {
  QStringList out;
  for (const PresentDevice& d : devices)
    if (d.tape) out << d.name;
  return out;
}

CSelectTapeDriveDlg::CSelectTapeDriveDlg(ShellContext& ctx, const QStringList& drives,
                                         QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("SelectTapeDriveDialog"));
  setWindowTitle(QStringLiteral("Select Tape Drive"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  drives_ = new QComboBox(this);
  drives_->setObjectName(QStringLiteral("drive"));
  drives_->addItems(drives);
  drives_->setCurrentIndex(drives.isEmpty() ? -1 : 0);
  form->addRow(QStringLiteral("Drive:"), drives_);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void CSelectTapeDriveDlg::accept() {
  ctx_.app.SelectedTapeName = S(drives_->currentText());
  QDialog::accept();
}

bool AskForTapeDrive(ShellContext& ctx, const QStringList& drives, QWidget* parent) {
  CSelectTapeDriveDlg dialog(ctx, drives, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace kelvo::gui
