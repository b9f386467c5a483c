// The About box.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/shell/app_icons.h"
#include "gui/shell/main_frame.h"

namespace kelvo::gui {

void CMainFrame::ShowAbout() {
  QDialog box(this);
  box.setObjectName(QStringLiteral("AboutBox"));
  box.setWindowTitle(QStringLiteral("About Kelvo Disk Utility"));
  auto* layout = new QVBoxLayout(&box);
  auto* icon = new QLabel(&box);
  icon->setPixmap(AppIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignHCenter);
  layout->addWidget(icon);
  for (const QString& text : {QStringLiteral("Kelvo Disk Utility"),
                              QStringLiteral("Version " KDU_VERSION_TEXT),
                              QStringLiteral("For Linux")}) {
    auto* label = new QLabel(text, &box);
    label->setAlignment(Qt::AlignHCenter);
    layout->addWidget(label);
  }
  // Wide enough for its title beside the window buttons.
  box.setMinimumWidth(box.fontMetrics().horizontalAdvance(box.windowTitle()) +
                      20 * box.fontMetrics().averageCharWidth());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  layout->addWidget(buttons);
  box.exec();
}

}  // namespace kelvo::gui
