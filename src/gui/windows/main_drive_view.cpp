#include "gui/windows/main_drive_view.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStorageInfo>
#include <QStyle>

namespace kelvo::gui {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

QString PathOf(const QTreeWidgetItem* item) { return item->data(0, kPathRole).toString(); }

// Volumes of file systems that hold no user files are not shown.
bool IsUserVolume(const QStorageInfo& v) {
  static const QStringList pseudo = {"proc", "sysfs", "devpts", "cgroup", "cgroup2", "securityfs",
                                     "debugfs", "tracefs", "pstore", "bpf", "mqueue", "hugetlbfs",
                                     "configfs", "fusectl", "autofs", "binfmt_misc", "overlay",
                                     "nsfs", "devtmpfs", "efivarfs"};
  if (!v.isValid() || !v.isReady()) return false;
  if (pseudo.contains(QString::fromLatin1(v.fileSystemType()))) return false;
  const QString root = v.rootPath();
  return root != QLatin1String("/") && !root.startsWith(QLatin1String("/proc")) &&
         !root.startsWith(QLatin1String("/sys")) && !root.startsWith(QLatin1String("/dev")) &&
         !root.startsWith(QLatin1String("/run"));
}

}  // namespace

CMainDriveView::CMainDriveView(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  connect(this, &QTreeWidget::itemExpanded, this, &CMainDriveView::FillChildren);
  connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
    watcher_.removePath(PathOf(item));
  });
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item) Q_EMIT folderSelected(PathOf(item));
  });
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &CMainDriveView::OnFolderChanged);
  Reload();
}

QTreeWidgetItem* CMainDriveView::AddVolume(const QString& label, const QString& path) {
  auto* item = new QTreeWidgetItem(this, {label});
  item->setData(0, kPathRole, path);
  item->setIcon(0, style()->standardIcon(QStyle::SP_DriveHDIcon));
  item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  return item;
}

void CMainDriveView::Reload() {
  // Rebuilt quietly: the same branches open and the same folder selected.
  const QString selected = SelectedFolder();
  const QStringList expanded = watcher_.directories();
  if (!expanded.isEmpty()) watcher_.removePaths(expanded);
  const bool was_blocked = blockSignals(true);
  clear();
  const QStorageInfo root = QStorageInfo::root();
  const QString root_name = root.name().isEmpty() ? QStringLiteral("/") : root.name() + " (/)";
  AddVolume(root_name, QStringLiteral("/"));
  AddVolume(QStringLiteral("Home (%1)").arg(QDir::homePath()), QDir::homePath());
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!IsUserVolume(v)) continue;
    const QString name = v.name().isEmpty() ? v.rootPath()
                                            : QStringLiteral("%1 (%2)").arg(v.name(), v.rootPath());
    AddVolume(name, v.rootPath());
  }
  for (const QString& path : expanded) {
    SelectFolder(path);
    if (currentItem()) currentItem()->setExpanded(true);
  }
  if (!selected.isEmpty()) SelectFolder(selected);
  else setCurrentItem(nullptr);
  blockSignals(was_blocked);
}

void CMainDriveView::FillChildren(QTreeWidgetItem* item) {
  const QString path = PathOf(item);
  qDeleteAll(item->takeChildren());
  const QDir dir(path);
  const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : names) {
    if (name.startsWith(QLatin1Char('.'))) continue;
    auto* child = new QTreeWidgetItem(item, {name});
    child->setData(0, kPathRole, dir.filePath(name));
    child->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  }
  if (names.isEmpty()) item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  item->setData(0, kFilledRole, true);
  if (!watcher_.directories().contains(path)) watcher_.addPath(path);
}

void CMainDriveView::OnFolderChanged(const QString& path) {
  // Re-read the folders of every expanded branch showing `path`, keeping the
  // selected folder selected (without listing it again) while it exists.
  const QString selected = SelectedFolder();
  blockSignals(true);
  QList<QTreeWidgetItem*> pending;
  for (int i = 0; i < topLevelItemCount(); ++i) pending << topLevelItem(i);
  while (!pending.isEmpty()) {
    QTreeWidgetItem* item = pending.takeFirst();
    if (!item->isExpanded()) continue;
    if (PathOf(item) == path) {
      QStringList open;
      for (int c = 0; c < item->childCount(); ++c)
        if (item->child(c)->isExpanded()) open << PathOf(item->child(c));
      FillChildren(item);
      for (int c = 0; c < item->childCount(); ++c)
        if (open.contains(PathOf(item->child(c)))) item->child(c)->setExpanded(true);
      continue;
    }
    for (int c = 0; c < item->childCount(); ++c) pending << item->child(c);
  }
  QString keep = selected;
  while (!keep.isEmpty() && !QFileInfo(keep).isDir()) keep = QFileInfo(keep).absolutePath();
  SelectFolder(keep);
  blockSignals(false);
  if (keep != selected) Q_EMIT folderSelected(SelectedFolder());
}

bool CMainDriveView::SelectFolder(const QString& wanted) {
  const QString path = QDir::cleanPath(QDir(wanted).absolutePath());
  // The deepest volume whose path starts the wanted one.
  QTreeWidgetItem* best = nullptr;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    QTreeWidgetItem* v = topLevelItem(i);
    const QString root = PathOf(v);
    const bool inside = path == root || root == QLatin1String("/") ||
                        path.startsWith(root + QLatin1Char('/'));
    if (inside && (!best || root.size() > PathOf(best).size())) best = v;
  }
  if (!best) return false;
  QTreeWidgetItem* item = best;
  while (PathOf(item) != path) {
    item->setExpanded(true);
    QTreeWidgetItem* next = nullptr;
    for (int c = 0; c < item->childCount(); ++c) {
      const QString cp = PathOf(item->child(c));
      if (path == cp || path.startsWith(cp + QLatin1Char('/'))) { next = item->child(c); break; }
    }
    if (!next) break;
    item = next;
  }
  setCurrentItem(item);
  scrollToItem(item);
  return PathOf(item) == path;
}

QString CMainDriveView::SelectedFolder() const {
  return currentItem() ? PathOf(currentItem()) : QString();
}

}  // namespace kelvo::gui
