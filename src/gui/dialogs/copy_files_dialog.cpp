#include "gui/dialogs/copy_files_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shell/shell_context.h"

namespace kelvo::gui {
namespace {
constexpr int kFieldWidth = 360;  // pixels of a "Copying:" or "To:" field
}

CCopyFilesDlg::CCopyFilesDlg(QWidget* parent)
    : QDialog(parent), copying_(new QLabel(this)), to_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Copy Files"));
  copying_->setFixedWidth(kFieldWidth);
  to_->setFixedWidth(kFieldWidth);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Copying:"), copying_);
  form->addRow(QStringLiteral("To:"), to_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &CCopyFilesDlg::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void CCopyFilesDlg::Show() {
  cancelled_ = false;
  copying_->clear();
  to_->clear();
  show();
  QApplication::processEvents();
}

void CCopyFilesDlg::SetField(QLabel* field, const std::string& text) {
  const QFontMetrics metrics = field->fontMetrics();
  const auto fits = [&](std::string_view t) {
    return metrics.horizontalAdvance(QString::fromUtf8(t.data(), int(t.size()))) <= kFieldWidth;
  };
  field->setText(Q(ShortenPathText(text, fits)));
  field->setToolTip(Q(text));
  QApplication::processEvents();
}

void CCopyFilesDlg::SetTo(const std::string& text) { SetField(to_, text); }
void CCopyFilesDlg::SetCopying(const std::string& text) { SetField(copying_, text); }
QString CCopyFilesDlg::CopyingText() const { return copying_->toolTip(); }
QString CCopyFilesDlg::ToText() const { return to_->toolTip(); }

void CCopyFilesDlg::reject() {
  cancelled_ = true;
  QDialog::reject();
}

void CCopyFilesDlg::Close() { hide(); }

}  // namespace kelvo::gui
