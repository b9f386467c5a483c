#include "gui/disk_image_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QVBoxLayout>

#include "diskfs/kelvo_volume.h"
#include "filetypes/file_names.h"
#include "gui/type_text.h"
#include "gui/caption_strip.h"
#include "gui/file_properties_dialog.h"
#include "gui/kelvo_directory_tree.h"
#include "gui/size_text.h"

namespace kelvo::gui {

CDiskImageWindow::CDiskImageWindow(ShellContext& ctx, std::unique_ptr<CDiskImageDoc> doc,
                                   const QString& path, const QString& title, QWidget* parent)
    : CChildFrameWindow(ctx, PlaceKind::DiskImage, parent),
      doc_(std::move(doc)), path_(path), title_(title) {
  tree_ = new CKelvoDirectoryView(this);
  SetTreePane(QStringLiteral("Directories"), tree_);
  UpdateTitle();
  Refresh();
}

void CDiskImageWindow::UpdateTitle() {
  setWindowTitle(title_ + (doc_->IsModified() ? QStringLiteral("*") : QString()));
}

QString CDiskImageWindow::ListingHeadingText() const {
  return QStringLiteral("Listing of files contained in ") + title_;
}

void CDiskImageWindow::Refresh() {
  listing_ = DiskListing();
  const ErrorCode code = ListFiles(*doc_, listing_, doc_->BlockCount());
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
  ListView()->SetCaptions(QStringLiteral("Contents of '%1'").arg(title_),
                          QStringLiteral("%1 File(s)").arg(count),
                          QStringLiteral("%1 (Disk free space: %2)")
                              .arg(SizeText64(total), SizeText64(listing_.FreeSpace())));
  UpdateTitle();
  Q_EMIT stateChanged();
  if (code != 0) ReportFailure(code);
}

ErrorCode CDiskImageWindow::DoDelete(const QStringList& names) {
  CKelvoVolume volume(*doc_);
  ErrorCode result = 0;
  for (const QString& name : names) {
    result = volume.DeleteFile(S(name));
    if (result != 0) break;
    doc_->SetModifiedFlag();
    DropEntry(name);
  }
  Refresh();
  return result;
}

ErrorCode CDiskImageWindow::DoRename(const QString& old_name, const QString& new_name) {
  CKelvoVolume volume(*doc_);
  const ErrorCode code = volume.RenameFile(S(old_name), S(new_name));
  if (code != 0) return code;
  doc_->SetModifiedFlag();
  // A new type can move the file to another directory, so the list is built
  // again, once the list has finished ending the edit.
  QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection);
  return 0;
}

void CDiskImageWindow::ShowProperties() {
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

ErrorCode CDiskImageWindow::SaveTo(const QString& path) {
  const ErrorCode code = doc_->OnSaveDocument(QFile::encodeName(path).toStdString());
  if (code != 0) return code;
  path_ = path;
  title_ = QFileInfo(path).fileName();
  Refresh();
  return 0;
}

void CDiskImageWindow::closeEvent(QCloseEvent* e) {
  if (doc_->IsModified()) {
    const Button answer =
        Context().ui->Ask(S(QStringLiteral("Save changes to %1?").arg(title_)), kAppTitle,
                          Buttons::YesNoCancel, Icon::Exclamation);
    if (answer == Button::Cancel || (answer == Button::Yes && !(save_handler && save_handler()))) {
      e->ignore();
      return;
    }
  }
  CChildFrameWindow::closeEvent(e);
}

}  // namespace kelvo::gui
