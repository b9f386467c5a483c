#include "shooter.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace kelvo::screenshots {

void Settle(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

bool CShooter::Shoot(const QString& name, QWidget* w) {
  if (w == nullptr) {
    notes_ << name + ": no window";
    ++failures_;
    return false;
  }
  Settle();
  const QString path = QDir(folder_).filePath(name + "-" + variant_ + ".png");
  const bool ok = w->grab().save(path);
  // Where the window lies: a top-level window against its screen, a child
  // window against its parent's area.
  const QRect frame = w->isWindow() ? w->frameGeometry() : w->geometry();
  const QRect room = w->isWindow() ? (w->screen() ? w->screen()->availableGeometry() : QRect())
                                   : w->parentWidget()->rect();
  QString note = QStringLiteral("%1: %2x%3 at %4,%5").arg(name).arg(frame.width()).arg(frame.height())
                     .arg(frame.x()).arg(frame.y());
  if (!room.isEmpty() && !room.contains(frame)) note += QStringLiteral(" (reaches outside %1x%2)").arg(room.width()).arg(room.height());
  if (!ok) {
    note += QStringLiteral(" NOT SAVED");
    ++failures_;
  }
  notes_ << note;
  return ok;
}

bool CShooter::ShootModal(const QString& name, const std::function<void()>& open) {
  bool shot = false;
  QTimer poll;
  poll.setInterval(50);
  int ticks = 0;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QPointer<QWidget> w = QApplication::activeModalWidget();
    if (w.isNull()) {
      if (++ticks > 100) poll.stop();
      return;
    }
    poll.stop();
    Settle(300);
    if (w.isNull()) return;
    shot = Shoot(name, w);
    if (auto* d = qobject_cast<QDialog*>(w.data())) d->reject();
    else w->close();
  });
  poll.start();
  open();
  WaitUntil([&] { return !poll.isActive(); }, 8000);
  if (!shot) {
    notes_ << name + ": no dialog came";
    ++failures_;
  }
  return shot;
}

}  // namespace kelvo::screenshots
