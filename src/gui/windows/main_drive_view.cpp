#include "gui/windows/main_drive_view.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QScrollBar>
#include <QStorageInfo>
#include <QStyle>

namespace kelvo::gui {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

QString PathOf(const QTreeWidgetItem* item) { return item->data(0, kPathRole).toString(); }

// Volumes of file systems that hold no user files are not shown.
bool IsUserVolume(const MountedFileSystem& m) {
  static const QStringList pseudo = {"proc", "sysfs", "devpts", "cgroup", "cgroup2", "securityfs",
                                     "debugfs", "tracefs", "pstore", "bpf", "mqueue", "hugetlbfs",
                                     "configfs", "fusectl", "autofs", "binfmt_misc", "overlay",
                                     "nsfs", "devtmpfs", "efivarfs"};
  if (pseudo.contains(m.type)) return false;
  const QString& root = m.root;
  return root != QLatin1String("/") && !root.startsWith(QLatin1String("/proc")) &&
         !root.startsWith(QLatin1String("/sys")) && !root.startsWith(QLatin1String("/dev")) &&
         !root.startsWith(QLatin1String("/run"));
}

// The mounted file systems, from the table when it can be read.
std::vector<MountedFileSystem> MountedFileSystems(const QString& table) {
  std::vector<MountedFileSystem> out;
  if (ReadMountTable(table, out)) return out;
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
    out.push_back({v.rootPath(), QString::fromLatin1(v.fileSystemType())});
  return out;
}

}  // namespace

CMainDriveView::CMainDriveView(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  // The column is as wide as its widest name, so a deep folder's name is
  // scrolled to rather than cut off at the pane's edge.
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  connect(this, &QTreeWidget::itemExpanded, this, &CMainDriveView::FillChildren);
  connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
    // Read again when next expanded.
    item->setData(0, kFilledRole, false);
    watcher_.removePath(PathOf(item));
  });
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item) Q_EMIT folderSelected(PathOf(item));
  });
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &CMainDriveView::OnFolderChanged);
  SetMountTable(QString::fromLatin1(kSystemMountTable));
}

void CMainDriveView::SetMountTable(const QString& table) {
  // Volumes mounted or unmounted while the program runs come and go at once.
  mounts_ = std::make_unique<CMountWatch>(table);
  connect(mounts_.get(), &CMountWatch::changed, this, &CMainDriveView::Reload);
  Reload();
}

QStringList CMainDriveView::VolumeFolders() const {
  QStringList out;
  for (int i = 0; i < topLevelItemCount(); ++i) out << PathOf(topLevelItem(i));
  return out;
}

CMainDriveView::~CMainDriveView() = default;

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
  QStringList shown;
  for (const MountedFileSystem& m : MountedFileSystems(mounts_->Table())) {
    if (!IsUserVolume(m) || shown.contains(m.root)) continue;
    const QStorageInfo v(m.root);
    if (!v.isValid() || !v.isReady()) continue;
    shown << m.root;
    AddVolume(v.name().isEmpty() ? m.root : QStringLiteral("%1 (%2)").arg(v.name(), m.root), m.root);
  }
  for (const QString& path : expanded) {
    SelectFolder(path);
    if (currentItem()) Expand(currentItem());
  }
  if (!selected.isEmpty()) SelectFolder(selected);
  else setCurrentItem(nullptr);
  blockSignals(was_blocked);
}

void CMainDriveView::Expand(QTreeWidgetItem* item) {
  // The branch is filled here: expanding it while signals are blocked (a
  // quiet rebuild) would otherwise leave it empty.
  if (!item->data(0, kFilledRole).toBool()) FillChildren(item);
  if (!item->isExpanded()) {
    const bool was_blocked = blockSignals(true);
    item->setExpanded(true);
    blockSignals(was_blocked);
  }
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
        if (open.contains(PathOf(item->child(c)))) Expand(item->child(c));
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
    Expand(item);
    QTreeWidgetItem* next = nullptr;
    for (int c = 0; c < item->childCount(); ++c) {
      const QString cp = PathOf(item->child(c));
      if (path == cp || path.startsWith(cp + QLatin1Char('/'))) { next = item->child(c); break; }
    }
    if (!next) break;
    item = next;
  }
  setCurrentItem(item);
  ShowCurrent();
  return PathOf(item) == path;
}

void CMainDriveView::ShowCurrent() {
  QTreeWidgetItem* item = currentItem();
  if (!item) return;
  scrollToItem(item);
  // The indentation of a deep folder would otherwise fill a narrow pane.
  QScrollBar* bar = horizontalScrollBar();
  bar->setValue(bar->value() + visualItemRect(item).left() - indentation());
}

void CMainDriveView::resizeEvent(QResizeEvent* e) {
  QTreeWidget::resizeEvent(e);
  ShowCurrent();
}

void CMainDriveView::showEvent(QShowEvent* e) {
  QTreeWidget::showEvent(e);
  ShowCurrent();
}

QString CMainDriveView::SelectedFolder() const {
  return currentItem() ? PathOf(currentItem()) : QString();
}

}  // namespace kelvo::gui
