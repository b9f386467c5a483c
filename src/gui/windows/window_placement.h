// Saved window rectangles kept on the screens there are now: a placement
// saved on a larger screen, or at another scale, is moved and shrunk into the
// available area instead of opening off-screen.
#pragma once

#include <QRect>

namespace kelvo::gui {

// `wanted` kept when at least half of it shows in `available`; otherwise (or
// when it is larger than `available`) shrunk to fit and moved inside it.
QRect KeepInside(const QRect& wanted, const QRect& available);

// `wanted` shrunk to fit `available` where it is larger, and moved wholly
// inside it.
QRect MoveInside(const QRect& wanted, const QRect& available);

// The available area (without panels) of the screen that holds the centre of
// `wanted`, else of the primary screen; empty when there is no screen.
QRect AvailableScreenArea(const QRect& wanted);

}  // namespace kelvo::gui
