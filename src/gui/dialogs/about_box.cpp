// The About box.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/shell/main_frame.h"

namespace kelvo::gui {

void CMainFrame::ShowAbout() {
  QDialog box(this);
  box.setObjectName(QStringLiteral("AboutBox"));
  box.setWindowTitle(QStringLiteral("About Kelvo Disk Utility"));
  auto* layout = new QVBoxLayout(&box);
  auto* icon = new QLabel(&box);
  icon->setPixmap(style()->standardIcon(QStyle::SP_DriveFDIcon).pixmap(32, 32));
  layout->addWidget(icon);
  for (const QString& text : {QStringLiteral("Kelvo Disk Utility"),
                              QStringLiteral("Version " KDU_VERSION_TEXT),
                              QStringLiteral("For Linux")}) {
    auto* label = new QLabel(text, &box);
    layout->addWidget(label);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  layout->addWidget(buttons);
  box.exec();
}

}  // namespace kelvo::gui
