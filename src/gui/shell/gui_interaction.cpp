#include "gui/shell/gui_interaction.h"

#include <QApplication>
#include <QMessageBox>

namespace kelvo::gui {
namespace {

QMessageBox::StandardButtons ToQt(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::AbortRetryIgnore:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon ToQt(Icon icon) {
  switch (icon) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

Button FromQt(int pressed) {
  switch (pressed) {
    case QMessageBox::Ok: return Button::Ok;
    case QMessageBox::Abort: return Button::Abort;
    case QMessageBox::Retry: return Button::Retry;
    case QMessageBox::Ignore: return Button::Ignore;
    case QMessageBox::Yes: return Button::Yes;
    case QMessageBox::No: return Button::No;
    default: return Button::Cancel;  // Cancel, Esc or closing the box
  }
}

}  // namespace

Button CGuiInteraction::Ask(const std::string& text, const std::string& title, Buttons buttons,
                           Icon icon) {
  QMessageBox box(ToQt(icon), QString::fromStdString(title.empty() ? kAppTitle : title),
                  QString::fromStdString(text), ToQt(buttons), parent_);
  if (buttons == Buttons::Ok) box.setEscapeButton(QMessageBox::Ok);
  // A question asked in the middle of work under the wait cursor shows the
  // ordinary pointer.
  const bool waiting = QApplication::overrideCursor() != nullptr;
  if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int pressed = box.exec();
  if (waiting) QApplication::restoreOverrideCursor();
  return FromQt(pressed);
}

void CGuiInteraction::Beep(BeepKind) { QApplication::beep(); }

void CGuiInteraction::PumpMessages() { QCoreApplication::processEvents(); }

}  // namespace kelvo::gui
