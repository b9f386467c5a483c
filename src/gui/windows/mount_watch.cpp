#include "gui/windows/mount_watch.h"

#include <QSocketNotifier>
#include <QTextStream>

namespace kelvo::gui {
namespace {

// Fields of the table escape blanks and backslashes as octal ("\040").
QString Unescape(const QString& field) {
  QString out;
  out.reserve(field.size());
  for (qsizetype i = 0; i < field.size(); ++i) {
    bool ok = false;
    const int code = field[i] == QLatin1Char('\\') && i + 3 < field.size()
                         ? field.mid(i + 1, 3).toInt(&ok, 8) : 0;
    if (ok) {
      out += QChar(code);
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

}  // namespace

bool ReadMountTable(const QString& path, std::vector<MountedFileSystem>& out) {
  out.clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
  // The kernel's table reports a size of 0: read it line by line to its end.
  QTextStream in(&file);
  QString line;
  while (in.readLineInto(&line)) {
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 3) continue;
    out.push_back({Unescape(fields[1]), fields[2]});
  }
  return true;
}

CMountWatch::CMountWatch(const QString& table, QObject* parent)
    : QObject(parent), table_(table), file_(table) {
  if (file_.open(QIODevice::ReadOnly)) {
    notifier_ = std::make_unique<QSocketNotifier>(file_.handle(), QSocketNotifier::Exception);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &CMountWatch::changed);
  }
  watcher_.addPath(table_);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &CMountWatch::OnFileChanged);
}

CMountWatch::~CMountWatch() = default;

void CMountWatch::OnFileChanged() {
  // A table written by renaming a new file over it is watched again.
  if (!watcher_.files().contains(table_)) watcher_.addPath(table_);
  Q_EMIT changed();
}

}  // namespace kelvo::gui
