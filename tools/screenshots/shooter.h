// Saving pictures of kdisk's windows for the user guide.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace kelvo::screenshots {

// Runs the event loop for `ms` milliseconds so windows lay out and paint.
void Settle(int ms = 150);
// Runs the event loop until `done` holds or `ms` milliseconds have passed.
bool WaitUntil(const std::function<bool()>& done, int ms);

class CShooter {
 public:
  // Pictures go to `folder` as NAME-VARIANT.png.
  CShooter(const QString& folder, const QString& variant) : folder_(folder), variant_(variant) {}

  // Saves a picture of `w` as it stands and notes where it lies relative to
  // its screen; false when it could not be written.
  bool Shoot(const QString& name, QWidget* w);
  // Runs `open`, which shows a modal dialog (and may not return until it is
  // closed); saves a picture of the dialog and cancels it. False when no
  // dialog came within a few seconds.
  bool ShootModal(const QString& name, const std::function<void()>& open);

  const QStringList& Notes() const { return notes_; }
  int Failures() const { return failures_; }

 private:
  QString folder_;
  QString variant_;
  QStringList notes_;
  int failures_ = 0;
};

}  // namespace kelvo::screenshots
