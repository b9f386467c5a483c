#include "gui/viewers/viewer_display_font.h"

#include <QFontMetrics>
#include <algorithm>

namespace kelvo::gui {

const DisplayFont& TheDisplayFont() {
  static const DisplayFont measured = [] {
    DisplayFont d;
    d.font = QFont(QStringLiteral("Courier"));
    d.font.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
    d.font.setFixedPitch(true);
    d.font.setPixelSize(12);  // character height, not cell height
    d.font.setWeight(QFont::Normal);
    d.font.setKerning(false);
    const QFontMetrics fm(d.font);
    d.char_height = std::max(fm.height(), 1);
    // A fixed-pitch font advances every character alike; the advance (not
    // the average glyph width) keeps columns and the column arithmetic in step.
    d.char_width = std::max(fm.horizontalAdvance(QLatin1Char('0')), 1);
    d.ascent = fm.ascent();
    return d;
  }();
  return measured;
}

}  // namespace kelvo::gui
