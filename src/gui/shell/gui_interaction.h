// kdisk's Interaction: questions are message boxes with the application
// title, sounds are the desktop's beep, and pumping runs Qt's event loop once.
#pragma once

#include <QPointer>
#include <QWidget>

#include "core/interaction.h"

namespace kelvo::gui {

class CGuiInteraction : public Interaction {
 public:
  explicit CGuiInteraction(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  Button Ask(const std::string& text, const std::string& title, Buttons buttons,
             Icon icon) override;
  void Beep(BeepKind kind) override;
  void PumpMessages() override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace kelvo::gui
