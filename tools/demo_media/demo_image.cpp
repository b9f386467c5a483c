#include "demo_image.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTransform>
#include <cstdint>
#include <vector>

#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"

namespace kelvo::demo {

namespace {

// 6 by 1.4 inches at 300 dpi.
constexpr int kWidth = 1800;
constexpr int kHeight = 420;
// Grey levels darker than this print as ink; the icon's light greys and
// cream stay paper, its blues and outlines become ink.
constexpr int kInkBelowGrey = 170;

QFont Sans(int pixels, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

bool Draw(const std::string& iconPath, QImage& page, std::string& error) {
  QSvgRenderer icon(QString::fromStdString(iconPath));
  if (!icon.isValid()) {
    error = "cannot read the icon " + iconPath;
    return false;
  }
  page = QImage(kWidth, kHeight, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter p(&page);
  p.setRenderHint(QPainter::Antialiasing);
  icon.render(&p, QRectF(30, 30, 360, 360));
  p.setPen(Qt::black);
  // The company name fills the width beside the icon.
  const QString name = QStringLiteral("Kelvo Demo Printing Co.");
  QFont title = Sans(100, true);
  const int room = kWidth - 440 - 40;
  const int wide = QFontMetrics(title).horizontalAdvance(name);
  if (wide > room) title.setPixelSize(100 * room / wide);
  p.setFont(title);
  p.drawText(QPointF(440, 150), name);
  p.setFont(Sans(50, false));
  p.drawText(QPointF(444, 240), QStringLiteral("Statements \u00b7 Letters \u00b7 Forms"));
  p.setFont(Sans(40, false));
  p.drawText(QPointF(444, 315), QStringLiteral("12 Harbour Road, Port Demo   \u2022   Tel. 0123 456 789"));
  p.fillRect(QRectF(440, 360, 1320, 8), Qt::black);
  return p.end();
}

}  // namespace

bool DrawLetterheadImage(const std::string& iconPath, std::string& imageFile, std::string& error) {
  QImage page;
  if (!Draw(iconPath, page, error)) return false;
  // The image view opens a raster turned one quarter turn counter-clockwise;
  // stored turned the other way, the letterhead opens upright.
  const QImage stored = page.transformed(QTransform().rotate(90));
  const int dots = stored.width();
  const int lines = stored.height();
  const int rounded = RoundedImageDots(dots);
  test::RasterEncoder encoder(rounded);
  for (int y = 0; y < lines; ++y) {
    std::vector<std::uint8_t> ink(static_cast<std::size_t>(rounded / 8), 0);
    const QRgb* row = reinterpret_cast<const QRgb*>(stored.constScanLine(y));
    for (int x = 0; x < dots; ++x)
      if (qGray(row[x]) < kInkBelowGrey) ink[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    encoder.Line(ink, y == 0 ? 0 : 1);
  }
  encoder.End();
  test::ImageFileSpec spec;
  spec.scan_lines = lines;
  spec.dots = dots;
  spec.raster = encoder.Bytes();
  imageFile = test::BuildImageFile(spec);
  return true;
}

}  // namespace kelvo::demo
