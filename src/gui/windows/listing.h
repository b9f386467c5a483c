// The listing of an explorer window's place, printed or saved as a ".lst"
// file: a heading, the creation time, the column heading and one line per
// entry in the list's current order.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

class QPrinter;

namespace kelvo::gui {

class CChildFrameWindow;

struct Listing {
  QString heading;
  QString created;
  QStringList columns;            // column heading
  std::vector<QStringList> rows;  // one cell per column
  std::vector<bool> right_aligned;  // per column: sizes are right-aligned
};

Listing MakeListing(const CChildFrameWindow& window, const QDateTime& now);
// "Created on Sunday, December 06, 2026 at 08:30:00".
QString CreatedLine(const QDateTime& now);
// The text of a ".lst" file: columns padded to their widest cell.
QString ListingText(const Listing& listing);
// Writes `text` to `path` through a temporary file renamed into place.
bool WriteTextFileAtomically(const QString& path, const QString& text);
// Prints the listing with the margins in millimetres and the list's column
// widths (pixels on the screen) scaled to the printer.
bool PrintListing(const Listing& listing, QPrinter& printer, int left_mm, int top_mm,
                  const QList<int>& screen_widths);

}  // namespace kelvo::gui
