#include "support/modal_script.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <algorithm>

namespace kelvo::gui::test {

namespace {

bool Holds(const std::vector<QPointer<QWidget>>& list, QWidget* w) {
  return std::find(list.begin(), list.end(), w) != list.end();
}

}  // namespace

std::vector<ModalScript*> ModalScript::live_;
std::vector<QPointer<QWidget>> ModalScript::acting_;
std::vector<QPointer<QWidget>> ModalScript::handled_;

ModalScript::ModalScript() {
  live_.push_back(this);
  timer_.setInterval(10);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (live_.front() == this) Poll();
  });
  timer_.start();
}

ModalScript::~ModalScript() {
  timer_.stop();
  live_.erase(std::find(live_.begin(), live_.end(), this));
  if (!steps_.empty())
    QTest::qFail(qPrintable(QStringLiteral("the expected %1 never came").arg(steps_.front().type)),
                 __FILE__, __LINE__);
}

void ModalScript::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || Holds(acting_, modal)) return;
  for (std::size_t i = 0; i < live_.size() && !Holds(handled_, modal); ++i) {
    std::deque<Step>& steps = live_[i]->steps_;
    if (steps.empty() || !steps.front().matches(modal)) continue;
    const Step step = steps.front();
    steps.pop_front();
    acting_.emplace_back(modal);
    step.act(modal);
    acting_.pop_back();
    handled_.emplace_back(modal);
    return;
  }
  for (ModalScript* script : live_)
    for (const auto& allowed : script->allowed_)
      if (allowed(modal)) return;
  const QString what = QStringLiteral("%1 modal dialog %2 \"%3\"")
                           .arg(Holds(handled_, modal) ? QStringLiteral("a handled") : QStringLiteral("an unexpected"),
                                modal->metaObject()->className(), modal->windowTitle());
  QTest::qFail(qPrintable(what + QStringLiteral(" was still open; closed")), __FILE__, __LINE__);
  if (auto* dialog = qobject_cast<QDialog*>(modal))
    dialog->done(QDialog::Rejected);
  else
    modal->close();
}

}  // namespace kelvo::gui::test
