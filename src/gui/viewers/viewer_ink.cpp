#include "gui/viewers/viewer_ink.h"

#include <algorithm>
#include <cmath>

namespace kelvo::gui {
namespace {

constexpr double kReadable = 4.5;

double Channel(double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

double Luminance(const QColor& c) {
  return 0.2126 * Channel(c.redF()) + 0.7152 * Channel(c.greenF()) + 0.0722 * Channel(c.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableInk(const QColor& wanted, const QColor& background) {
  // On a light background the classic colours are kept as they are; on a
  // dark one they are lightened, hue and saturation kept.
  if (Luminance(background) >= 0.18 || ContrastRatio(wanted, background) >= kReadable) return wanted;
  const float hue = wanted.hslHueF();
  const float saturation = wanted.hslSaturationF();
  float lightness = wanted.lightnessF();
  QColor best = wanted;
  for (int step = 0; step < 50; ++step) {
    lightness = std::min(lightness + 0.02f, 1.0f);
    best = QColor::fromHslF(hue, saturation, lightness);
    if (ContrastRatio(best, background) >= kReadable) break;
  }
  return best;
}

}  // namespace kelvo::gui
