// The main window's document and listing commands: New, Open, Save, opening
// device windows, printing and saving file lists, Preferences.
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "gui/document_types.h"
#include "gui/explorer_window.h"
#include "gui/listing.h"
#include "gui/main_frame.h"
#include "gui/preferences_dialog.h"
#include "gui/viewer_windows.h"

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

void CMainFrame::OpenWithDialog() {
  QFileDialog dialog(this, QStringLiteral("Open"), Q(ctx_.app.LastOpenDirectory));
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

bool CMainFrame::OpenDocument(const QString& path) {
  const DocumentType* type = DocumentTypeOf(path);
  if (!type) {
    NotInThisVersion(*ctx_.ui, QFileInfo(path).fileName());
    return false;
  }
  if (IsViewerFile(path)) {
    QWidget* frame = OpenViewerFrame(path, ctx_);
    if (!frame) return false;
    QMdiSubWindow* sub = AddChild(frame);
    sub->resize(sub->sizeHint());
    mdi_->setActiveSubWindow(sub);
    return true;
  }
  // UNFINISHED: disk image windows are wired in as their engine part arrives.
  NotInThisVersion(*ctx_.ui, type->new_name + QStringLiteral(" documents"));
  return false;
}

void CMainFrame::NewDocument() {}

void CMainFrame::SaveActive(bool) {}

void CMainFrame::OpenDeviceWindow(const DeviceEntry& device) {
  // UNFINISHED: floppy and tape windows need the floppy and tape layers.
  NotInThisVersion(*ctx_.ui, device.Label());
}

void CMainFrame::PrintSetup() {
  QPageSetupDialog dialog(&SharedPrinter(), this);
  dialog.exec();
}

void CMainFrame::PrintFileList() {
  CChildFrameWindow* ex = ActiveExplorer();
  if (!ex) return;
  QPrintDialog dialog(&SharedPrinter(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintListing(MakeListing(*ex, QDateTime::currentDateTime()), SharedPrinter(),
               ctx_.settings.LeftPrintMargin, ctx_.settings.TopPrintMargin,
               ex->ListView()->ColumnWidths());
}

void CMainFrame::SaveFileList() {
  CChildFrameWindow* ex = ActiveExplorer();
  if (!ex) return;
  QFileDialog dialog(this, QStringLiteral("Save File List"));
  dialog.setObjectName(QStringLiteral("SaveFileListDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QStringLiteral("File List (*.lst)"));
  dialog.setDefaultSuffix(QStringLiteral("lst"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString text = ListingText(MakeListing(*ex, QDateTime::currentDateTime()));
  if (!WriteTextFileAtomically(dialog.selectedFiles().first(), text))
    ctx_.ui->ReportError(ERR_WRITE_FAULT);
}

void CMainFrame::ShowPreferences() {
  CPreferencesDialog dialog(ctx_, this);
  dialog.exec();
}

}  // namespace kelvo::gui
