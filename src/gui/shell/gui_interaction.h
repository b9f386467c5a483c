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
  // Ask with a check box labelled `check` under the text; whether it was
  // ticked goes to `checked`.
  Button AskWithCheck(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon, const std::string& check, bool& checked);

 private:
  QPointer<QWidget> parent_;
};

}  // namespace kelvo::gui
