#include "gui/windows/disk_image_window.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "diskfs/kelvo_volume.h"

namespace kelvo::gui {

CDiskImageWindow::CDiskImageWindow(ShellContext& ctx, std::unique_ptr<CDiskImageDoc> doc,
                                   const QString& path, const QString& title, QWidget* parent)
    : CKelvoDiskWindow(ctx, PlaceKind::DiskImage, parent),
      doc_(std::move(doc)), path_(path), title_(title) {
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
  DiskListing listing;
  const ErrorCode code = ListFiles(*doc_, listing, doc_->BlockCount());
  ShowListing(std::move(listing), title_);
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

ErrorCode CDiskImageWindow::SaveTo(const QString& path) {
  const ErrorCode code = doc_->OnSaveDocument(QFile::encodeName(path).toStdString());
  if (code != 0) return code;
  path_ = path;
  title_ = QFileInfo(path).fileName();
  Refresh();
  return 0;
}

bool CDiskImageWindow::SharesTitleWithAnotherImage() const {
  const QMdiArea* area = nullptr;
  for (QWidget* w = parentWidget(); w && !area; w = w->parentWidget()) area = qobject_cast<QMdiArea*>(w);
  if (!area) return false;
  for (const QMdiSubWindow* sub : area->subWindowList()) {
    const auto* other = qobject_cast<const CDiskImageWindow*>(sub->widget());
    if (other && other != this && other->title_.compare(title_, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

bool CDiskImageWindow::ConfirmClose() {
  if (!doc_->IsModified()) return true;
  // Two open images of the same name are told apart by their full paths.
  const QString name = !path_.isEmpty() && SharesTitleWithAnotherImage()
                           ? QDir::toNativeSeparators(path_) : title_;
  const Button answer =
      Context().ui->Ask(S(QStringLiteral("Save changes to %1?").arg(name)), kAppTitle,
                        Buttons::YesNoCancel, Icon::Exclamation);
  return answer == Button::No || (answer == Button::Yes && save_handler && save_handler());
}

}  // namespace kelvo::gui
