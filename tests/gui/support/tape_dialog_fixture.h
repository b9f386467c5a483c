// Helpers for the tape dialog tests: an Interaction that also watches the
// questions, answering modal dialogs, and small QVA tapes.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "gui/shell/main_frame.h"
#include "gui/dialogs/tape_restore_dialog.h"
#include "support/tape_media.h"

namespace kelvo::gui::test {

// The pump hook of the tape window tests, plus `on_ask`, run when a
// question is asked (what the windows look like at that moment).
class PumpingInteraction : public PumpHookInteraction {
 public:
  std::function<void(const std::string& text)> on_ask;

  Button Ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override {
    if (on_ask) on_ask(text);
    return PumpHookInteraction::Ask(text, title, buttons, icon);
  }
};

// The visible top-level widget of type T, if any.
template <class T>
T* FindShown() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
  return nullptr;
}

// While it lives, runs `act` once on the first dialog of type T that is
// shown (modal dialogs block the test until they end).
template <class T>
class WhenShown {
 public:
  explicit WhenShown(std::function<void(T*)> act) : act_(std::move(act)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (T* d = FindShown<T>()) {
        timer_.stop();
        seen_ = true;
        act_(d);
      }
    });
    timer_.start();
  }
  // Whether the dialog came.
  bool Seen() const { return seen_; }

 private:
  std::function<void(T*)> act_;
  QTimer timer_;
  bool seen_ = false;
};

// Runs "Restore Files..." of `frame` for the specification `spec` (the
// dialog's other fields as the settings give them); `at_end` sees the
// progress window of type W once the tape work is over, then its button
// closes it.
template <class W>
void RestoreFromMenu(CMainFrame& frame, const QString& spec, const std::function<void(W*)>& at_end) {
  WhenShown<CTapeRestoreDlg> request([spec](CTapeRestoreDlg* d) {
    d->FileName()->setText(spec);
    d->accept();
  });
  const bool& busy = frame.Context().app.TapeBusy;
  QTimer closer;
  closer.setInterval(20);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    W* w = FindShown<W>();
    if (!w || busy) return;
    closer.stop();
    at_end(w);
    w->Button()->click();
  });
  closer.start();
  frame.RunCommand(Cmd::TapeRestore);
}

// A QVA save tape of one disk unit (marker DP2:) holding BITMAP.$Y$, the
// source file JOB.CMD and `files` binary files of `size` bytes each in type
// FNT (named F0, F1 ...; QVA files are whole 512-byte blocks, so `size`
// should be too), split into two volumes after `blocks_per_volume` blocks
// (0: one volume), written as `folder`/volN.tap.
std::vector<std::string> MakeQvaSet(const QString& folder, int files, int size,
                                    int blocks_per_volume);

}  // namespace kelvo::gui::test
