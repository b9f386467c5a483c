// The desktop's list of recently used files ($XDG_DATA_HOME/recently-used.xbel),
// which file managers and file dialogs show. kdisk adds each file it opens or
// saves; every other entry in the list is kept as it was.
#pragma once

#include <QDateTime>
#include <QString>

namespace kelvo::gui {

struct RecentUse {
  QString path;       // the local file
  QString mime_type;  // "application/x-kelvo-disk-image"
  QString app_name;   // the application's name in the list
  QString app_exec;   // how the desktop starts it again: "'kdisk %u'"
  QDateTime when;     // the time of use (UTC)
};

// $XDG_DATA_HOME/recently-used.xbel (normally ~/.local/share/recently-used.xbel).
QString DefaultRecentlyUsedPath();

// Records `use` in the list at `xbel_path`: read, changed and written back
// through a temporary file renamed over the old one. A bookmark of the same
// file is updated (its application entry counted up), otherwise one is
// added. A list that cannot be parsed is left alone; false then, and when
// the list cannot be written.
bool RecordRecentUse(const QString& xbel_path, const RecentUse& use);

// The MIME type kdisk declares for a file name, by its extension
// (any case); empty for other files.
QString KelvoMimeType(const QString& path);

}  // namespace kelvo::gui
