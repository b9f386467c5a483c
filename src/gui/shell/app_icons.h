// The program's icons: the application icon on every window, and the icon
// of each file in the lists (drawn ones for the printer's fonts, images,
// sources and system files; the desktop theme's for other PC files).
#pragma once

#include <QIcon>
#include <QString>

#include "transfer/place_kind.h"

namespace kelvo::gui {

QIcon AppIcon();

// The icon of the file `name` listed in a window of `kind`.
QIcon FileIcon(PlaceKind kind, const QString& name);

}  // namespace kelvo::gui
