#include "gui/dialogs/preferences_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/dialogs/select_directory_dialog.h"

namespace kelvo::gui {

CPreferencesDlg::CPreferencesDlg(ShellContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("PreferencesDialog"));
  setWindowTitle(QStringLiteral("Preferences"));
  auto* layout = new QVBoxLayout(this);

  auto* sources = new QGroupBox(QStringLiteral("Restoring Source Files"), this);
  auto* sl = new QVBoxLayout(sources);
  retain_ = new QRadioButton(QStringLiteral("Retain MQS &Format"), sources);
  convert_ = new QRadioButton(QStringLiteral("Convert to ASCII Text Format"), sources);
  sl->addWidget(retain_);
  sl->addWidget(convert_);
  (ctx.settings.RetainPrinterFormat ? retain_ : convert_)->setChecked(true);
  layout->addWidget(sources);

  auto* startup_box = new QGroupBox(QStringLiteral("Startup Directory"), this);
  auto* row = new QHBoxLayout(startup_box);
  startup_ = new QLineEdit(Q(ctx.settings.StartupDirectory), startup_box);
  auto* browse = new QPushButton(QStringLiteral("..."), startup_box);
  browse->setObjectName(QStringLiteral("BrowseButton"));
  row->addWidget(startup_, 1);
  row->addWidget(browse);
  connect(browse, &QPushButton::clicked, this, &CPreferencesDlg::Browse);
  layout->addWidget(startup_box);

  auto* viewer = new QGroupBox(QStringLiteral("Image Viewer"), this);
  auto* form = new QFormLayout(viewer);
  zoom_ = new QSpinBox(viewer);
  zoom_->setRange(1, 1000);
  zoom_->setSuffix(QStringLiteral(" %"));
  zoom_->setValue(ctx.settings.DefaultZoom);
  increment_ = new QSpinBox(viewer);
  increment_->setRange(1, 1000);
  increment_->setSuffix(QStringLiteral(" %"));
  increment_->setValue(ctx.settings.ZoomIncrement);
  form->addRow(QStringLiteral("Default Zoom:"), zoom_);
  form->addRow(QStringLiteral("Zoom Increment:"), increment_);
  layout->addWidget(viewer);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void CPreferencesDlg::Browse() {
  CSelectDirectoryDlg dialog(ctx_, this);
  if (dialog.exec() == QDialog::Accepted) startup_->setText(Q(ctx_.settings.TapeRestorePath));
}

void CPreferencesDlg::accept() {
  kelvo::Settings& s = ctx_.settings;
  s.RetainPrinterFormat = retain_->isChecked() ? 1 : 0;
  const QString startup = startup_->text().trimmed();
  // Paths shorter than 3 characters do not name a folder.
  s.StartupDirectory = startup.size() >= 3 ? S(startup) : std::string();
  s.DefaultZoom = zoom_->value();
  s.ZoomIncrement = increment_->value();
  QDialog::accept();
}

}  // namespace kelvo::gui
