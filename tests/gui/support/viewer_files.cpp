#include "support/viewer_files.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <algorithm>
#include <cstdlib>

#include "support/gui_fixture.h"
#include "viewers/image_doc.h"

namespace kelvo::gui::test {

QString WriteViewerFile(const QString& folder, const QString& name, const std::string& bytes) {
  const QString path = QDir(folder).filePath(name);
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) qFatal("cannot create %s", qPrintable(path));
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  return path;
}

std::string BlockImageFile(int dots, int lines, int ink_dots, int ink_lines,
                           kelvo::test::ImageFileSpec header) {
  const int rounded = RoundedImageDots(dots);
  kelvo::test::RasterEncoder enc(rounded);
  for (int y = 0; y < lines; ++y) {
    std::vector<std::uint8_t> line(static_cast<std::size_t>(rounded / 8), 0);
    if (y < ink_lines)
      for (int x = 0; x < ink_dots; ++x) line[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    enc.Line(line, y % 4);
  }
  enc.End();
  header.dots = dots;
  header.scan_lines = lines;
  header.raster = enc.Bytes();
  return kelvo::test::BuildImageFile(header);
}

ColourTally TallyColours(const QImage& image, const QRect& area) {
  ColourTally t;
  const QRect a = area.intersected(image.rect());
  const auto near = [](int x, int y) { return std::abs(x - y) <= 3; };
  for (int y = a.top(); y <= a.bottom(); ++y) {
    for (int x = a.left(); x <= a.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int r = c.red(), g = c.green(), b = c.blue();
      // The background, and anti-aliasing too faint to tell its hue.
      if (std::min({r, g, b}) >= 235) continue;
      if (near(r, g) && near(g, b))
        ++t.black;
      else if (near(r, b) && g < r)
        ++t.magenta;
      else if (near(r, b) && g > r)
        ++t.green;
      else if (near(r, g) && b > r)
        ++t.blue;
      else if (near(g, b) && r > g)
        ++t.red;
      else
        ++t.other;
    }
  }
  return t;
}

bool SaveScreenshot(QWidget* widget, const QString& name) {
  return widget->grab().save(OutputPath(name));
}

}  // namespace kelvo::gui::test
