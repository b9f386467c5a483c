// Ink that reads on the palette's background, light or dark: on a dark one a
// colour keeps its hue and is made lighter until it stands out enough.
#pragma once

#include <QColor>

namespace kelvo::gui {

// The contrast ratio of two colours (1 to 21) by their relative luminance.
double ContrastRatio(const QColor& a, const QColor& b);

// `wanted` in its hue, light enough to read on a dark `background` (a
// contrast of at least 4.5); on a light background `wanted` itself.
QColor ReadableInk(const QColor& wanted, const QColor& background);

}  // namespace kelvo::gui
