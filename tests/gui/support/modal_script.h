// The one modal poller of the kdisk tests. While it lives it answers the
// modal dialogs a test expects, in order: Expect<T>(act) runs `act` on the
// next modal dialog of type T (polled from the event loop, so it works
// inside the dialog's exec()). A modal dialog nobody expected, or one that
// `act` left open, fails the test and is closed, so the test ends at once
// instead of waiting for ever. Expected dialogs that never came fail the
// test when the script ends. Several scripts may live at once (two main
// windows in one test): the dialog goes to the first that expects it.
#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

namespace kelvo::gui::test {

class ModalScript {
 public:
  ModalScript();
  ~ModalScript();
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  template <class T>
  ModalScript& Expect(std::function<void(T*)> act) {
    steps_.push_back({T::staticMetaObject.className(),
                      [](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                      [act](QWidget* w) { act(qobject_cast<T*>(w)); }});
    return *this;
  }
  // Leaves modal windows of type T alone while they are open (a progress
  // window that stays up while work runs).
  template <class T>
  ModalScript& Allow() {
    allowed_.push_back([](QWidget* w) { return qobject_cast<T*>(w) != nullptr; });
    return *this;
  }

 private:
  struct Step {
    const char* type;
    std::function<bool(QWidget*)> matches;
    std::function<void(QWidget*)> act;
  };
  static void Poll();

  std::deque<Step> steps_;
  std::vector<std::function<bool(QWidget*)>> allowed_;
  static std::vector<ModalScript*> live_;           // the oldest polls for all
  static std::vector<QPointer<QWidget>> acting_;   // dialogs whose `act` runs now
  static std::vector<QPointer<QWidget>> handled_;  // dialogs whose `act` has ended
  QTimer timer_;
};

}  // namespace kelvo::gui::test
