#include "gui/dialogs/label_disk_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kelvo::gui {

CLabelDiskDlg::CLabelDiskDlg(const QString& disk_id, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Label Disk"));
  setObjectName(QStringLiteral("LabelDiskDialog"));
  field_ = new QLineEdit(this);
  field_->setObjectName(QStringLiteral("DiskId"));
  field_->setMaxLength(30);
  field_->setText(disk_id);
  field_->selectAll();
  auto* label = new QLabel(QStringLiteral("Disk Id:"), this);
  label->setBuddy(field_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* grid = new QGridLayout(this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(field_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("(Maximum 30 characters)"), this), 1, 1);
  grid->addWidget(buttons, 2, 0, 1, 2);
}

QString CLabelDiskDlg::DiskId() const { return field_->text(); }

}  // namespace kelvo::gui
