#include "gui/windows/listing.h"

#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>

#include "gui/windows/child_frame_window.h"

namespace kelvo::gui {

QString CreatedLine(const QDateTime& now) {
  // %A, %B %d, %Y at %I:%M:%S in English whatever the desktop's language;
  // %I is the hour on the 12-hour clock (01 to 12), without AM or PM.
  const QLocale c = QLocale::c();
  int hour = now.time().hour() % 12;
  if (hour == 0) hour = 12;
  return QStringLiteral("Created on %1 at %2:%3")
      .arg(c.toString(now.date(), QStringLiteral("dddd, MMMM dd, yyyy")))
      .arg(hour, 2, 10, QLatin1Char('0'))
      .arg(c.toString(now.time(), QStringLiteral("mm:ss")));
}

Listing MakeListing(const CChildFrameWindow& window, const QDateTime& now) {
  Listing out;
  out.heading = window.ListingHeadingText();
  out.created = CreatedLine(now);
  const CFileListModel* model = window.Model();
  const PlaceKind kind = window.Kind();
  std::vector<int> cols = {0, 1, 2};
  out.columns = {QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Description")};
  out.right_aligned = {false, true, false};
  if (kind == PlaceKind::PcFolder) {
    cols.push_back(3);
    out.columns << QStringLiteral("Last Modified");
    out.right_aligned.push_back(false);
  } else if (kind == PlaceKind::Tape) {
    cols.insert(cols.begin(), 3);
    out.columns.prepend(QStringLiteral("Seq. No."));
    out.right_aligned.insert(out.right_aligned.begin(), true);
  }
  for (int r = 0; r < model->rowCount(); ++r) {
    QStringList cells;
    for (int c : cols) cells << model->CellText(r, c);
    out.rows.push_back(cells);
  }
  return out;
}

QString ListingText(const Listing& l) {
  const int n = static_cast<int>(l.columns.size());
  std::vector<int> width(static_cast<size_t>(n));
  for (int c = 0; c < n; ++c) {
    int w = static_cast<int>(l.columns[c].size());
    for (const QStringList& row : l.rows) w = std::max(w, static_cast<int>(row.value(c).size()));
    width[static_cast<size_t>(c)] = w;
  }
  auto line = [&](const QStringList& cells) {
    QString s;
    for (int c = 0; c < n; ++c) {
      const int w = width[static_cast<size_t>(c)];
      const QString cell = cells.value(c);
      s += l.right_aligned[static_cast<size_t>(c)] ? cell.rightJustified(w) : cell.leftJustified(w);
      if (c + 1 < n) s += QStringLiteral("  ");
    }
    while (s.endsWith(QLatin1Char(' '))) s.chop(1);
    return s + QLatin1Char('\n');
  };
  QString text = l.heading + QLatin1Char('\n') + l.created + QLatin1Char('\n') + line(l.columns);
  for (const QStringList& row : l.rows) text += line(row);
  return text;
}

bool WriteTextFileAtomically(const QString& path, const QString& text) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(text.toUtf8());
  return file.commit();
}

bool PrintListing(const Listing& l, QPrinter& printer, int left_mm, int top_mm,
                  const QList<int>& screen_widths) {
  QPainter p;
  if (!p.begin(&printer)) return false;
  const double dpi = printer.resolution();
  const int left = static_cast<int>(left_mm * dpi / 25.4);
  const int top = static_cast<int>(top_mm * dpi / 25.4);
  const double scale = dpi / 96.0;
  const int line_height = p.fontMetrics().height();
  const int page_bottom = p.viewport().height();
  // Column starts: the left margin plus the scaled widths of the columns before.
  std::vector<int> x = {left};
  for (int c = 0; c + 1 < l.columns.size(); ++c)
    x.push_back(x.back() + static_cast<int>(screen_widths.value(c, 100) * scale));
  const int last_width = static_cast<int>(screen_widths.value(l.columns.size() - 1, 125) * scale);
  int y = top;
  auto draw_row = [&](const QStringList& cells, bool heading) {
    if (y + line_height > page_bottom) {
      printer.newPage();
      y = top;
    }
    for (int c = 0; c < l.columns.size(); ++c) {
      const QString cell = cells.value(c);
      if (!heading && l.right_aligned[static_cast<size_t>(c)]) {
        const int next = c + 1 < l.columns.size() ? x[static_cast<size_t>(c) + 1] : x.back() + last_width;
        p.drawText(next - 50 - p.fontMetrics().horizontalAdvance(cell), y + p.fontMetrics().ascent(), cell);
      } else {
        p.drawText(x[static_cast<size_t>(c)], y + p.fontMetrics().ascent(), cell);
      }
    }
    y += line_height;
  };
  p.drawText(left, y + p.fontMetrics().ascent(), l.heading);
  y += line_height;
  p.drawText(left, y + p.fontMetrics().ascent(), l.created);
  y += line_height * 2;
  draw_row(l.columns, true);
  for (const QStringList& row : l.rows) draw_row(row, false);
  return p.end();
}

}  // namespace kelvo::gui
