#include "gui/windows/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace kelvo::gui {

QRect KeepInside(const QRect& wanted, const QRect& available) {
  if (available.isEmpty()) return wanted;
  // A window that fits and mostly shows stays where it was put; one larger
  // than the area, or with less than half of it showing, is moved inside.
  const QRect shown = wanted.intersected(available);
  if (wanted.width() <= available.width() && wanted.height() <= available.height() &&
      shown.width() * 2 >= wanted.width() && shown.height() * 2 >= wanted.height())
    return wanted;
  return MoveInside(wanted, available);
}

QRect MoveInside(const QRect& wanted, const QRect& available) {
  if (available.isEmpty()) return wanted;
  QRect r = wanted;
  r.setWidth(std::min(r.width(), available.width()));
  r.setHeight(std::min(r.height(), available.height()));
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
