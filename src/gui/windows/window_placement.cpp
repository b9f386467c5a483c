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
