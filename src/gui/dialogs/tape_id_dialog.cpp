#include "gui/dialogs/tape_id_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kelvo::gui {

CTapeIdDlg::CTapeIdDlg(const QString& tape_id, QWidget* parent)
    : QDialog(parent), field_(new QLineEdit(tape_id, this)) {
  setObjectName(QStringLiteral("TapeIdDlg"));
  setWindowTitle(QStringLiteral("Tape ID"));
  field_->setObjectName(QStringLiteral("TapeIdField"));
  field_->setMinimumWidth(240);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Tape ID:"), field_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  field_->setFocus();
}

QString CTapeIdDlg::TapeId() const { return field_->text(); }

}  // namespace kelvo::gui
