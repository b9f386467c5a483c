#include "gui/dialogs/tape_restore_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/dialogs/select_directory_dialog.h"

namespace kelvo::gui {

CTapeRestoreDlg::CTapeRestoreDlg(ShellContext& ctx, const QStringList& drives, Runner runner,
                                 QWidget* parent)
    : QDialog(parent), ctx_(ctx), runner_(std::move(runner)) {
  setObjectName(QStringLiteral("TapeRestoreDialog"));
  setWindowTitle(QStringLiteral("Restore Files from Tape"));
  request_ = InitialRestoreRequest(ctx_.settings, drives.isEmpty() ? std::string() : S(drives.front()));

  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  source_ = new QComboBox(this);
  source_->setObjectName(QStringLiteral("source"));
  source_->setIconSize(QSize(16, 16));
  const QIcon drive_icon = style()->standardIcon(QStyle::SP_DriveDVDIcon);
  for (const QString& d : drives) source_->addItem(drive_icon, d);
  source_->setCurrentIndex(drives.isEmpty() ? -1 : 0);
  file_name_ = new QLineEdit(Q(request_.file_spec), this);
  file_name_->setObjectName(QStringLiteral("file_name"));
  destination_ = new QLineEdit(Q(request_.destination), this);
  destination_->setObjectName(QStringLiteral("destination"));
  browse_ = new QPushButton(QStringLiteral("Browse..."), this);
  browse_->setAutoDefault(false);
  grid->addWidget(new QLabel(QStringLiteral("Source:"), this), 0, 0);
  grid->addWidget(source_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("File Name:"), this), 1, 0);
  grid->addWidget(file_name_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Destination:"), this), 2, 0);
  grid->addWidget(destination_, 2, 1);
  grid->addWidget(browse_, 2, 2);
  layout->addLayout(grid);

  auto* options = new QGroupBox(QStringLiteral("Restore Options "), this);
  auto* options_layout = new QVBoxLayout(options);
  type_dirs_ = new QCheckBox(QStringLiteral("Restore using File Type directories"), options);
  type_dirs_->setChecked(request_.type_dirs);
  user_files_only_ = new QCheckBox(QStringLiteral("Restore User files only"), options);
  user_files_only_->setChecked(request_.user_files_only);
  options_layout->addWidget(type_dirs_);
  options_layout->addWidget(user_files_only_);

  auto* format = new QGroupBox(QStringLiteral("Tape Format "), this);
  auto* format_layout = new QVBoxLayout(format);
  labelled_ = new QRadioButton(QStringLiteral("Kelvo Labelled Tape"), format);
  unlabelled_ = new QRadioButton(QStringLiteral("Unlabelled Tape"), format);
  qva_ = new QRadioButton(QStringLiteral("QVA Tape"), format);
  // No reading of unlabelled tapes is offered; the choice stays visible.
  unlabelled_->setEnabled(false);
  format_layout->addWidget(labelled_);
  format_layout->addWidget(unlabelled_);
  format_layout->addWidget(qva_);
  FormatButton(request_.format)->setChecked(true);

  auto* groups = new QHBoxLayout;
  groups->addWidget(options);
  groups->addWidget(format);
  layout->addLayout(groups);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(browse_, &QPushButton::clicked, this, &CTapeRestoreDlg::Browse);
  connect(file_name_, &QLineEdit::textChanged, this,
          [this](const QString& text) { request_.file_spec = S(text); });
}

QRadioButton* CTapeRestoreDlg::FormatButton(TapeFormat format) const {
  switch (format) {
    case TapeFormat::Unlabelled: return unlabelled_;
    case TapeFormat::Qva: return qva_;
    case TapeFormat::Labelled: break;
  }
  return labelled_;
}

void CTapeRestoreDlg::Browse() {
  CSelectDirectoryDlg dialog(ctx_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyChosenFolder(request_, ctx_.settings);
  destination_->setText(Q(request_.destination));
}

void CTapeRestoreDlg::TakeFields() {
  request_.source_drive = S(source_->currentText());
  request_.file_spec = S(file_name_->text());
  request_.destination = S(destination_->text());
  request_.type_dirs = type_dirs_->isChecked();
  request_.user_files_only = user_files_only_->isChecked();
  request_.format = qva_->isChecked()          ? TapeFormat::Qva
                    : unlabelled_->isChecked() ? TapeFormat::Unlabelled
                                               : TapeFormat::Labelled;
}

void CTapeRestoreDlg::ShowProblem(const RequestCheck& check) {
  ctx_.ui->Ask(check.message, std::string(), Buttons::Ok, Icon::Exclamation);
  QLineEdit* field = check.field == RequestCheck::Field::Destination ? destination_ : file_name_;
  field->setFocus(Qt::OtherFocusReason);
  field->setSelection(static_cast<int>(check.select_start), static_cast<int>(check.select_length));
}

void CTapeRestoreDlg::accept() {
  TakeFields();
  // The fields are kept even when a check fails.
  StoreRestoreRequest(request_, ctx_.settings);
  const RequestCheck check = CheckRestoreRequest(request_);
  if (!check.ok()) {
    ShowProblem(check);
    return;
  }
  QDialog::accept();
  result_ = runner_ ? runner_(request_) : ErrorCode{0};
  if (result_ != 0) ctx_.ui->ReportError(result_);
}

}  // namespace kelvo::gui
