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

CCopyFilesDialog::CCopyFilesDialog(QWidget* parent)
    : QDialog(parent), copying_(new QLabel(this)), to_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Copy Files"));
  copying_->setFixedWidth(kFieldWidth);
  to_->setFixedWidth(kFieldWidth);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Copying:"), copying_);
  form->addRow(QStringLiteral("To:"), to_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &CCopyFilesDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void CCopyFilesDialog::Show() {
  cancelled_ = false;
  copying_->clear();
  to_->clear();
  show();
  QApplication::processEvents();
}

void CCopyFilesDialog::SetField(QLabel* field, const std::string& text) {
  const QFontMetrics metrics = field->fontMetrics();
  const auto fits = [&](std::string_view t) {
    return metrics.horizontalAdvance(QString::fromUtf8(t.data(), int(t.size()))) <= kFieldWidth;
  };
  field->setText(Q(ShortenPathText(text, fits)));
  field->setToolTip(Q(text));
  QApplication::processEvents();
}

void CCopyFilesDialog::SetTo(const std::string& text) { SetField(to_, text); }
void CCopyFilesDialog::SetCopying(const std::string& text) { SetField(copying_, text); }
QString CCopyFilesDialog::CopyingText() const { return copying_->toolTip(); }
QString CCopyFilesDialog::ToText() const { return to_->toolTip(); }

void CCopyFilesDialog::reject() {
  cancelled_ = true;
  QDialog::reject();
}

void CCopyFilesDialog::Close() { hide(); }

}  // namespace kelvo::gui
