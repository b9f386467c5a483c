#include "gui/shell/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>

#include "gui/windows/device_bar.h"
#include "gui/shell/app_icons.h"
#include "gui/shell/context_menus.h"
#include "gui/windows/child_frame_window.h"
#include "gui/windows/tape_window.h"

namespace kelvo::gui {

CMainFrame::CMainFrame(ShellContext& ctx, std::vector<PresentDevice> devices, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), devices_(std::move(devices)) {
  setWindowTitle(QString::fromLatin1(kAppTitle));
  QApplication::setWindowIcon(AppIcon());  // every window and dialog shows it
  windows_ = std::make_unique<CWindowManager>(ctx_, *this);
  device_bar_ = new CDeviceBar(devices_, this);
  addToolBar(device_bar_);
  const ShellHost host{ctx_, devices_, *windows_, this};
  recent_ = std::make_unique<CRecentFiles>();
  documents_ = std::make_unique<CDocumentCommands>(host, *recent_);
  drops_ = std::make_unique<CDropHandler>(host);
  floppies_ = std::make_unique<CFloppyCommands>(host);
  tapes_ = std::make_unique<CTapeCommands>(host);
  recent_->SetOpener([this](const QString& path) { return documents_->OpenDocument(path); });
  connect(device_bar_, &CDeviceBar::deviceActivated, this, &CMainFrame::OpenDeviceWindow);
  connect(device_bar_, &CDeviceBar::deviceDropped, drops_.get(), &CDropHandler::HandleDeviceDrop);
  connect(windows_.get(), &CWindowManager::openFileRequested, documents_.get(),
          &CDocumentCommands::OpenDocument);
  commands_ = std::make_unique<CCommandRouter>(
      *this, host,
      CommandTargets{*documents_, *recent_, *floppies_, *tapes_, device_bar_, [this] { ShowAbout(); }});
  connect(windows_.get(), &CWindowManager::explorerAdded, this, [this](CChildFrameWindow* ex) {
    connect(ex, &CChildFrameWindow::dropReceived, drops_.get(), &CDropHandler::HandleDrop);
    connect(ex, &CChildFrameWindow::stateChanged, commands_.get(), [this] { commands_->OnIdle(); });
    ex->export_for_drag = [this, window = QPointer<CChildFrameWindow>(ex)](const QStringList& names) {
      return window ? drops_->ExportForDrag(window, names) : QList<QUrl>();
    };
    InstallContextMenus(*this, ex);
  });
  windows_->ApplyPlacement();
  commands_->OnIdle();
}

CMainFrame::~CMainFrame() {
  // The child windows close after the parts are gone: stop listening first.
  windows_->disconnect(this);
  for (CChildFrameWindow* ex : windows_->Explorers()) ex->export_for_drag = nullptr;
}

void CMainFrame::moveEvent(QMoveEvent* e) {
  QMainWindow::moveEvent(e);
  if (windows_) windows_->RememberPlacement();
}

void CMainFrame::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (windows_) windows_->RememberPlacement();
}

void CMainFrame::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange || !windows_) return;
  windows_->RememberMainState();
}

void CMainFrame::closeEvent(QCloseEvent* e) {
  if (windows_->OperationRunning()) {
    ctx_.ui->Beep(BeepKind::Exclamation);
    e->ignore();
    return;
  }
  windows_->RememberExplorerPlacement();
  if (!windows_->CloseAll()) {
    e->ignore();
    return;
  }
  e->accept();
}

void CMainFrame::OpenDeviceWindow(const PresentDevice& device) {
  if (device.tape) {
    OpenTapeWindow(*windows_, device.name);
    return;
  }
  floppies_->OpenFloppyWindow(device);
}

}  // namespace kelvo::gui
