// The recent-file list: the File menu's entries, their place in the settings
// store and the desktop's recently-used list.
#include "gui/shell/recent_files.h"

#include <QAction>
#include <QMenu>
#include <QMimeDatabase>

#include "core/interaction.h"
#include "gui/shell/recently_used.h"

namespace kelvo::gui {
namespace {

std::string ValueName(int n) { return "Recent File " + std::to_string(n); }

}  // namespace

QStringList LoadRecentFileList(const CKeyValueStore& store) {
  QStringList files;
  for (int n = 1; n <= kRecentFileCount; ++n) {
    const std::optional<std::string> v = store.GetString(ValueName(n));
    if (!v || v->empty()) continue;
    const QString file = QString::fromStdString(*v);
    if (!files.contains(file)) files << file;
  }
  return files;
}

void SaveRecentFileList(const QStringList& files, CKeyValueStore& store) {
  for (int n = 1; n <= kRecentFileCount; ++n)
    store.SetString(ValueName(n), n <= files.size() ? files[n - 1].toStdString() : std::string());
}

void CRecentFiles::AttachMenu(QMenu* menu) {
  recent_menu_ = menu;
  recent_menu_->setEnabled(false);
}

void CRecentFiles::SetFiles(const QStringList& files) {
  recent_files_ = files.mid(0, kRecentFileCount);
  RebuildRecentMenu();
}

void CRecentFiles::Add(const QString& path, bool disk_image) {
  // The four files opened or saved last, the newest first.
  recent_files_.removeAll(path);
  recent_files_.prepend(path);
  while (recent_files_.size() > kRecentFileCount) recent_files_.removeLast();
  RebuildRecentMenu();
  if (desktop_recent_list_.isEmpty()) return;
  RecentUse use;
  use.path = path;
  // A raw floppy image opened as a disk image keeps the desktop's own type.
  const bool kdi = path.endsWith(QLatin1String(".kdi"), Qt::CaseInsensitive);
  use.mime_type = disk_image && !kdi ? QString() : KelvoMimeType(path);
  if (use.mime_type.isEmpty())
    use.mime_type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
  use.app_name = QString::fromLatin1(kAppTitle);
  use.app_exec = QStringLiteral("'kdisk %u'");
  use.when = QDateTime::currentDateTimeUtc();
  RecordRecentUse(desktop_recent_list_, use);  // the program's own list does not depend on it
}

void CRecentFiles::RebuildRecentMenu() {
  // Four fixed entries whose texts change: an entry is never deleted while
  // its own command runs.
  while (recent_menu_->actions().size() < kRecentFileCount) {
    QAction* a = recent_menu_->addAction(QString());
    connect(a, &QAction::triggered, this, [this, a] {
      const QString f = a->data().toString();
      // A file that can no longer be opened leaves the list.
      if (!open_(f) && recent_files_.removeAll(f) > 0) RebuildRecentMenu();
    });
  }
  const QList<QAction*> entries = recent_menu_->actions();
  for (int n = 0; n < entries.size(); ++n) {
    const bool used = n < recent_files_.size();
    entries[n]->setVisible(used);
    entries[n]->setData(used ? recent_files_[n] : QString());
    entries[n]->setText(used ? QStringLiteral("&%1 %2").arg(n + 1).arg(recent_files_[n]) : QString());
  }
  recent_menu_->setEnabled(!recent_files_.isEmpty());
}

}  // namespace kelvo::gui
