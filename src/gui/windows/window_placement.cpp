#include "gui/windows/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace kelvo::gui {

QRect KeepInside(const QRect& wanted, const QRect& available) {
  if (available.isEmpty()) return wanted;
  QRect r = wanted;
  r.setWidth(std::min(r.width(), available.width()));
  r.setHeight(std::min(r.height(), available.height()));
  // A window mostly on the screen stays where it was put; one shrunk, or
  // with less than half of it showing, is moved wholly inside.
  const QRect shown = r.intersected(available);
  if (r.size() == wanted.size() && shown.width() * 2 >= r.width() && shown.height() * 2 >= r.height())
    return r;
  r.moveLeft(std::clamp(r.left(), available.left(), available.right() + 1 - r.width()));
  r.moveTop(std::clamp(r.top(), available.top(), available.bottom() + 1 - r.height()));
  return r;
}

QRect AvailableScreenArea(const QRect& wanted) {
  QScreen* screen = QGuiApplication::screenAt(wanted.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

}  // namespace kelvo::gui
