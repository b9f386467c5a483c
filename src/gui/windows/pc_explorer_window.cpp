#include "gui/windows/pc_explorer_window.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMimeData>
#include <QSysInfo>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/windows/status_window.h"
#include "gui/windows/main_drive_view.h"
#include "gui/windows/pc_file_ops.h"
#include "gui/windows/pc_folder_lister.h"
#include "gui/windows/size_text.h"

namespace kelvo::gui {

QString ComputerName() {
  const QString name = QSysInfo::machineHostName();
  return name.isEmpty() ? QStringLiteral("This Computer") : name;
}

CPcExplorerWindow::CPcExplorerWindow(ShellContext& ctx, QWidget* parent)
    : CChildFrameWindow(ctx, PlaceKind::PcFolder, parent), title_(ComputerName()) {
  tree_ = new CMainDriveView(this);
  SetTreePane(QStringLiteral("All Folders"), tree_);
  setWindowTitle(title_);
  connect(tree_, &CMainDriveView::folderSelected, this, &CPcExplorerWindow::ShowFolder);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Relist(); });
  connect(ListView(), &CFileListView::openRequested, this, &CPcExplorerWindow::OpenEntry);
  connect(ListView(), &CFileListView::columnResized, this, [this] {
    const QList<int> w = ListView()->ColumnWidths();
    kelvo::Settings& s = Context().settings;
    s.NameColumnWidth = w.value(0, s.NameColumnWidth);
    s.SizeColumnWidth = w.value(1, s.SizeColumnWidth);
    s.TypeColumnWidth = w.value(2, s.TypeColumnWidth);
    s.ModifiedColumnWidth = w.value(3, s.ModifiedColumnWidth);
  });
}

bool CPcExplorerWindow::OpenFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.isDir()) return false;
  const QString path = QDir::cleanPath(info.absoluteFilePath());
  if (!tree_->SelectFolder(path)) ShowFolder(path);
  return true;
}

void CPcExplorerWindow::ShowFolder(const QString& folder) {
  if (!folder_.isEmpty()) watcher_.removePath(folder_);
  folder_ = folder;
  QDir::setCurrent(folder);  // the current PC folder follows the user
  watcher_.addPath(folder);
  Relist();
}

void CPcExplorerWindow::Relist() {
  if (folder_.isEmpty()) return;
  const QStringList selected = ListView()->SelectedNames();
  QElapsedTimer timer;
  timer.start();
  PcFolderListing listing = ListPcFolder(folder_, Context().settings.ShowAllFileTypes);
  const int count = static_cast<int>(listing.rows.size());
  Model()->SetRows(std::move(listing.rows));
  ListView()->SetCaptions(
      QStringLiteral("Contents of '%1'").arg(folder_), QStringLiteral("%1 File(s)").arg(count),
      QStringLiteral("%1 (Disk free space: %2)")
          .arg(SizeText64(listing.total_size), SizeText64(listing.free_space)));
  ListView()->SelectNames(selected);
  last_list_ms_ = timer.elapsed();
  Q_EMIT stateChanged();
}

void CPcExplorerWindow::Refresh() {
  tree_->Reload();
  Relist();
}

QString CPcExplorerWindow::ListingHeadingText() const {
  return QStringLiteral("Listing of files contained in ") + folder_;
}

void CPcExplorerWindow::OpenEntry(int row) {
  if (row < 0 || row >= Model()->rowCount()) return;
  Q_EMIT openFileRequested(QDir(folder_).filePath(Model()->Row(row).name));
}

ErrorCode CPcExplorerWindow::DoDelete(const QStringList& names) {
  ErrorCode first = 0;
  for (const QString& name : names) {
    const ErrorCode code = DeletePcFile(QDir(folder_).filePath(name));
    if (code == 0) DropEntry(name);
    else if (first == 0) first = code;
  }
  return first;
}

ErrorCode CPcExplorerWindow::DoRename(const QString& old_name, const QString& new_name) {
  const ErrorCode code =
      RenamePcFile(QDir(folder_).filePath(old_name), QDir(folder_).filePath(new_name));
  if (code != 0) return code;
  // The row changes in place: the list is in the middle of ending the edit.
  const int row = Model()->FindRow(old_name);
  FileRow renamed = Model()->Row(row);
  renamed.name = new_name;
  renamed.type = PcTypeText(new_name);
  Model()->ReplaceRow(row, renamed);
  return 0;
}

QMimeData* CPcExplorerWindow::MakeDragData() {
  QMimeData* data = CChildFrameWindow::MakeDragData();
  if (!data) return nullptr;
  QList<QUrl> urls;
  for (const QString& name : Context().TransferSelection())
    urls << QUrl::fromLocalFile(QDir(folder_).filePath(name));
  data->setUrls(urls);
  return data;
}

}  // namespace kelvo::gui
