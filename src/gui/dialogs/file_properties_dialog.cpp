#include "gui/dialogs/file_properties_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

#include "filetypes/file_names.h"
#include "gui/windows/type_text.h"
#include "gui/windows/file_list_model.h"

namespace kelvo::gui {

CFilePropertiesDlg::CFilePropertiesDlg(const ListedFile& f, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PropertiesDialog"));
  setWindowTitle(QStringLiteral("Properties"));
  auto* form = new QFormLayout(this);
  const std::pair<const char*, QString> rows[] = {
      {"File Name:", QString::fromStdString(DisplayName(f.name))},
      {"File Size:", GroupDigits(f.size)},
      {"Record Size:", QString::number(f.RecordSize())},
      {"Starting LBN:", QString::number(f.StartLbn())},
      {"First Free Byte:", QString::number(f.FirstFreeByte())},
      {"File Description:", TypeDescription(f.type)},
  };
  for (const auto& [label, value] : rows) {
    auto* v = new QLabel(value, this);
    v->setObjectName(QString::fromLatin1(label));
    form->addRow(QString::fromLatin1(label), v);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  form->addRow(buttons);
}

QString CFilePropertiesDlg::Value(const QString& label) const {
  auto* v = findChild<QLabel*>(label);
  return v ? v->text() : QString();
}

}  // namespace kelvo::gui
