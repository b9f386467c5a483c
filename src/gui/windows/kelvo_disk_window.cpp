#include "gui/windows/kelvo_disk_window.h"

#include "filetypes/file_names.h"
#include "gui/dialogs/file_properties_dialog.h"
#include "gui/windows/kelvo_directory_view.h"
#include "gui/windows/size_text.h"
#include "gui/windows/type_text.h"

namespace kelvo::gui {

CKelvoDiskWindow::CKelvoDiskWindow(ShellContext& ctx, PlaceKind kind, QWidget* parent)
    : CChildFrameWindow(ctx, kind, parent) {
  tree_ = new CKelvoDirectoryView(this);
  SetTreePane(QStringLiteral("Directories"), tree_);
}

void CKelvoDiskWindow::ShowListing(DiskListing listing, const QString& place) {
  listing_ = std::move(listing);
  std::vector<FileRow> rows;
  quint64 total = 0;
  for (const ListedFile& f : listing_.files) {
    if (IsSystemFileName(f.name)) continue;
    FileRow row;
    row.name = Q(DisplayName(f.name));
    row.size = f.size;
    row.type = TypeDescription(f.type);
    total += f.size;
    rows.push_back(std::move(row));
  }
  const int count = static_cast<int>(rows.size());
  Model()->SetRows(std::move(rows));
  ListView()->SetCaptions(QStringLiteral("Contents of '%1'").arg(place),
                          QStringLiteral("%1 File(s)").arg(count),
                          QStringLiteral("%1 (Disk free space: %2)")
                              .arg(SizeText64(total), SizeText64(listing_.FreeSpace())));
}

void CKelvoDiskWindow::ShowProperties() {
  const QList<int> rows = ListView()->SelectedRows();
  if (rows.isEmpty()) return;
  const QString name = Model()->Row(rows.first()).name;
  for (const ListedFile& f : listing_.files) {
    if (Q(DisplayName(f.name)).compare(name, Qt::CaseInsensitive) != 0) continue;
    CFilePropertiesDlg dialog(f, this);
    dialog.exec();
    return;
  }
}

}  // namespace kelvo::gui
