// The main window's document and listing commands: New, Open, Save, opening
// device windows, printing and saving file lists, Preferences.
#include "gui/shell/document_commands.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "gui/windows/disk_image_window.h"
#include "gui/shell/document_types.h"
#include "gui/windows/child_frame_window.h"
#include "gui/windows/listing.h"
#include "gui/shell/recent_files.h"
#include "gui/shell/window_manager.h"
#include "gui/dialogs/preferences_dialog.h"
#include "gui/viewers/viewer_windows.h"

namespace kelvo::gui {
namespace {

QPrinter& SharedPrinter() {
  static QPrinter printer(QPrinter::HighResolution);
  return printer;
}

void NotInThisVersion(Interaction& ui, const QString& what) {
  ui.Beep(BeepKind::Information);
  ui.Ask((what + QStringLiteral(" cannot be opened by this version of the program.")).toStdString(),
         kAppTitle, Buttons::Ok, Icon::Information);
}

}  // namespace

CDocumentCommands::CDocumentCommands(const ShellHost& host, CRecentFiles& recent)
    : ctx_(host.ctx), windows_(host.windows), parent_(host.parent), recent_(recent) {}

void CDocumentCommands::AddRecentFile(const QString& path, bool disk_image) {
  recent_.Add(path, disk_image);
}

void CDocumentCommands::OpenWithDialog() {
  QFileDialog dialog(parent_, QStringLiteral("Open"), Q(ctx_.app.LastOpenDirectory));
  dialog.setObjectName(QStringLiteral("OpenDialog"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly, true);
  const QStringList filters = OpenDialogFilters();
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(ctx_.app.LastOpenFilterIndex, filters.first()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().first();
  ctx_.app.LastOpenFilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
  ctx_.app.LastOpenDirectory = S(QFileInfo(path).absolutePath());
  OpenDocument(path);
}

bool CDocumentCommands::OpenDocument(const QString& path) {
  const bool disk_image = OpensAsDiskImage(path);
  const DocumentType* type = disk_image ? &DocumentTypes().front() : DocumentTypeOf(path);
  if (!type) {
    NotInThisVersion(*ctx_.ui, QFileInfo(path).fileName());
    return false;
  }
  if (!disk_image && IsViewerFile(path)) {
    QWidget* frame = OpenViewerFrame(path, ctx_);
    if (!frame) return false;
    QMdiSubWindow* sub = windows_.AddChild(frame, true);
    windows_.MdiArea()->setActiveSubWindow(sub);
    AddRecentFile(QFileInfo(path).absoluteFilePath(), false);
    return true;
  }
  if (type != &DocumentTypes().front()) {
    NotInThisVersion(*ctx_.ui, type->new_name + QStringLiteral(" documents"));
    return false;
  }
  const QString full = QFileInfo(path).absoluteFilePath();
  for (QMdiSubWindow* sub : windows_.MdiArea()->subWindowList()) {
    auto* image = qobject_cast<CDiskImageWindow*>(sub->widget());
    if (image && image->Path() == full) {
      windows_.MdiArea()->setActiveSubWindow(sub);
      return true;
    }
  }
  auto doc = std::make_unique<CDiskImageDoc>();
  const ErrorCode code = doc->OnOpenDocument(QFile::encodeName(full).toStdString());
  if (code != 0) {
    ctx_.ui->ReportError(code);
    return false;
  }
  AddImageWindow(new CDiskImageWindow(ctx_, std::move(doc), full, QFileInfo(full).fileName()));
  AddRecentFile(full, true);
  return true;
}

void CDocumentCommands::AddImageWindow(CDiskImageWindow* window) {
  window->save_handler = [this, window] { return SaveImage(window, false); };
  windows_.MdiArea()->setActiveSubWindow(windows_.AddChild(window));
}

void CDocumentCommands::NewDocument() {
  // The "New" list offers the disk image type only: it is chosen at once.
  auto doc = std::make_unique<CDiskImageDoc>();
  const ErrorCode code = doc->OnNewDocument({}, ctx_.ui);
  if (code != 0) {
    ctx_.ui->ReportError(code);
    return;
  }
  const QString title = DocumentTypes().front().new_name + QString::number(++new_documents_);
  AddImageWindow(new CDiskImageWindow(ctx_, std::move(doc), QString(), title));
}

bool CDocumentCommands::SaveImage(CDiskImageWindow* window, bool save_as) {
  QString path = window->Path();
  if (save_as || path.isEmpty()) {
    QFileDialog dialog(parent_, QStringLiteral("Save As"), path);
    dialog.setObjectName(QStringLiteral("SaveAsDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(OpenDialogFilters().front());
    dialog.setDefaultSuffix(QStringLiteral("kdi"));
    if (path.isEmpty()) dialog.selectFile(window->PlaceText() + QStringLiteral(".kdi"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first();
  }
  const ErrorCode code = window->SaveTo(path);
  if (code != 0) {
    ctx_.ui->ReportError(code);
    return false;
  }
  AddRecentFile(path, true);
  return true;
}

void CDocumentCommands::SaveActive(bool save_as) {
  QMdiSubWindow* sub = windows_.MdiArea()->activeSubWindow();
  if (auto* image = sub ? qobject_cast<CDiskImageWindow*>(sub->widget()) : nullptr)
    SaveImage(image, save_as);
}

void CDocumentCommands::PrintSetup() {
  QPageSetupDialog dialog(&SharedPrinter(), parent_);
  dialog.exec();
}

void CDocumentCommands::PrintFileList() {
  CChildFrameWindow* ex = windows_.ActiveExplorer();
  if (!ex || !ex->PrepareListingPrint()) return;
  QPrintDialog dialog(&SharedPrinter(), parent_);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintListing(MakeListing(*ex, QDateTime::currentDateTime()), SharedPrinter(),
               ctx_.settings.LeftPrintMargin, ctx_.settings.TopPrintMargin,
               ex->ListView()->ColumnWidths());
}

void CDocumentCommands::SaveFileList() {
  CChildFrameWindow* ex = windows_.ActiveExplorer();
  if (!ex) return;
  QFileDialog dialog(parent_, QStringLiteral("Save File List"));
  dialog.setObjectName(QStringLiteral("SaveFileListDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QStringLiteral("File List (*.lst)"));
  dialog.setDefaultSuffix(QStringLiteral("lst"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SaveFileListTo(dialog.selectedFiles().first());
}

bool CDocumentCommands::SaveFileListTo(const QString& path) {
  CChildFrameWindow* ex = windows_.ActiveExplorer();
  if (!ex) return false;
  const QString text = ListingText(MakeListing(*ex, QDateTime::currentDateTime()));
  if (WriteTextFileAtomically(path, text)) return true;
  ctx_.ui->ReportError(ERR_WRITE_FAULT);
  return false;
}

void CDocumentCommands::ShowPreferences() {
  CPreferencesDlg dialog(ctx_, parent_);
  dialog.exec();
}

}  // namespace kelvo::gui
