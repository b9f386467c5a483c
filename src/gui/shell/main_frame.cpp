#include "gui/shell/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include "gui/windows/device_bar.h"
#include "gui/shell/app_icons.h"
#include "gui/shell/context_menus.h"
#include "gui/shell/drag_export.h"
#include "gui/windows/child_frame_window.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/windows/window_placement.h"
#include "gui/viewers/viewer_windows.h"

namespace kelvo::gui {

CMainFrame::CMainFrame(ShellContext& ctx, std::vector<PresentDevice> devices, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), devices_(std::move(devices)),
      drag_folders_(std::make_unique<CDragExportFolders>()) {
  setWindowTitle(QString::fromLatin1(kAppTitle));
  QApplication::setWindowIcon(AppIcon());  // every window and dialog shows it
  mdi_ = new QMdiArea(this);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  device_bar_ = new CDeviceBar(devices_, this);
  addToolBar(device_bar_);
  connect(device_bar_, &CDeviceBar::deviceActivated, this, &CMainFrame::OpenDeviceWindow);
  connect(device_bar_, &CDeviceBar::deviceDropped, this, &CMainFrame::HandleDeviceDrop);
  status_text_ = new QLabel(this);
  statusBar()->addWidget(status_text_, 1);
  BuildMenus();
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { OnIdle(); });
  idle_timer_ = new QTimer(this);
  idle_timer_->setInterval(150);
  connect(idle_timer_, &QTimer::timeout, this, &CMainFrame::OnIdle);
  idle_timer_->start();
  ApplyPlacement();
  OnIdle();
}

CMainFrame::~CMainFrame() {
  // The child windows close after this object is gone: stop listening first.
  idle_timer_->stop();
  mdi_->disconnect(this);
  for (QMdiSubWindow* sub : mdi_->subWindowList()) {
    sub->removeEventFilter(this);
    sub->disconnect(this);
    if (sub->widget()) sub->widget()->disconnect(this);
  }
  pc_window_ = nullptr;
}

void CMainFrame::ApplyPlacement() {
  const kelvo::Settings& s = ctx_.settings;
  if (s.Maximized) {
    // The system's default position and size, shown maximized.
    setWindowState(windowState() | Qt::WindowMaximized);
    return;
  }
  const QRect saved(s.MainWindowLeft, s.MainWindowTop, s.MainWindowWidth, s.MainWindowHeight);
  setGeometry(KeepInside(saved, AvailableScreenArea(saved)));
}

void CMainFrame::RememberPlacement() {
  if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  if (!isVisible()) return;
  kelvo::Settings& s = ctx_.settings;
  const QRect r = geometry();
  s.MainWindowLeft = r.left();
  s.MainWindowTop = r.top();
  s.MainWindowWidth = r.width();
  s.MainWindowHeight = r.height();
}

void CMainFrame::moveEvent(QMoveEvent* e) {
  QMainWindow::moveEvent(e);
  RememberPlacement();
}

void CMainFrame::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  RememberPlacement();
}

void CMainFrame::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange) return;
  if (windowState() & Qt::WindowMaximized) ctx_.settings.Maximized = true;
  else if (!(windowState() & Qt::WindowMinimized)) ctx_.settings.Maximized = false;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* e) {
  // The event type is tested first: while the PC window is being destroyed it
  // is no longer a QMdiSubWindow, and comparing the guarded pointer reads it as one.
  if ((e->type() == QEvent::Move || e->type() == QEvent::Resize) && watched == pc_window_)
    RememberExplorerPlacement();
  return QMainWindow::eventFilter(watched, e);
}

void CMainFrame::RememberExplorerPlacement() {
  if (!pc_window_) return;
  kelvo::Settings& s = ctx_.settings;
  if (pc_window_->isMaximized()) { s.SystemWindowCmdShow = 3; return; }
  if (pc_window_->isMinimized()) { s.SystemWindowCmdShow = 2; return; }
  s.SystemWindowCmdShow = 1;
  const QRect r = pc_window_->geometry();
  s.SystemWindowLeft = r.left();
  s.SystemWindowTop = r.top();
  s.SystemWindowRight = r.right() + 1;
  s.SystemWindowBottom = r.bottom() + 1;
}

QMdiSubWindow* CMainFrame::AddChild(QWidget* child) {
  QMdiSubWindow* sub = mdi_->addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(child->windowIcon());
  // Ctrl+W is the main window's Close; the child's own window menu would
  // make the key ambiguous (and then nothing closes).
  for (QAction* a : sub->systemMenu() ? sub->systemMenu()->actions() : QList<QAction*>()) {
    QList<QKeySequence> keys = a->shortcuts();
    if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_W)) > 0) a->setShortcuts(keys);
  }
  // Each new window opens offset down and to the right of the previous one.
  const int step = 24;
  sub->move(next_offset_, next_offset_);
  next_offset_ = (next_offset_ + step) % (step * 8);
  if (auto* ex = qobject_cast<CChildFrameWindow*>(child)) {
    connect(ex, &CChildFrameWindow::dropReceived, this, &CMainFrame::HandleDrop);
    connect(ex, &CChildFrameWindow::stateChanged, this, [this] { OnIdle(); });
    ex->export_for_drag = [this, window = QPointer<CChildFrameWindow>(ex)](const QStringList& names) {
      return window ? ExportForDrag(window, names) : QList<QUrl>();
    };
    InstallContextMenus(*this, ex);
  }
  sub->show();
  return sub;
}

CPcExplorerWindow* CMainFrame::OpenPcExplorer() {
  if (pc_window_) {
    mdi_->setActiveSubWindow(pc_window_);
    return PcExplorer();
  }
  auto* pc = new CPcExplorerWindow(ctx_);
  connect(pc, &CPcExplorerWindow::openFileRequested, this, &CMainFrame::OpenDocument);
  pc_window_ = AddChild(pc);
  const kelvo::Settings& s = ctx_.settings;
  pc_window_->setGeometry(s.SystemWindowLeft, s.SystemWindowTop, s.SystemWindowRight - s.SystemWindowLeft,
                          s.SystemWindowBottom - s.SystemWindowTop);
  if (s.SystemWindowCmdShow == 3) pc_window_->showMaximized();
  pc_window_->installEventFilter(this);
  connect(pc_window_, &QMdiSubWindow::windowStateChanged, this,
          [this] { RememberExplorerPlacement(); });
  const QString start = s.StartupDirectory.empty() ? QDir::currentPath() : Q(s.StartupDirectory);
  if (!pc->OpenFolder(start)) pc->OpenFolder(QDir::currentPath());
  mdi_->setActiveSubWindow(pc_window_);
  return pc;
}

CPcExplorerWindow* CMainFrame::PcExplorer() const {
  return pc_window_ ? qobject_cast<CPcExplorerWindow*>(pc_window_->widget()) : nullptr;
}

CChildFrameWindow* CMainFrame::ActiveExplorer() const {
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  return sub ? qobject_cast<CChildFrameWindow*>(sub->widget()) : nullptr;
}

QList<CChildFrameWindow*> CMainFrame::Explorers() const {
  QList<CChildFrameWindow*> out;
  for (QMdiSubWindow* sub : mdi_->subWindowList())
    if (auto* ex = qobject_cast<CChildFrameWindow*>(sub->widget())) out << ex;
  return out;
}

CChildFrameWindow* CMainFrame::FindPlaceWindow(const QString& place) const {
  for (CChildFrameWindow* ex : Explorers())
    if (ex->PlaceText().compare(place, Qt::CaseInsensitive) == 0) return ex;
  return nullptr;
}

bool CMainFrame::OperationRunning() const {
  if (ctx_.app.TapeBusy || ctx_.app.CopyInProgress) return true;
  for (CChildFrameWindow* ex : Explorers())
    if (ex->Busy()) return true;
  return false;
}

void CMainFrame::closeEvent(QCloseEvent* e) {
  if (OperationRunning()) {
    ctx_.ui->Beep(BeepKind::Exclamation);
    e->ignore();
    return;
  }
  RememberExplorerPlacement();
  mdi_->closeAllSubWindows();
  if (!mdi_->subWindowList().isEmpty()) {
    e->ignore();
    return;
  }
  e->accept();
}

CommandContext CMainFrame::CurrentCommandContext() const {
  CommandContext c;
  if (CChildFrameWindow* ex = ActiveExplorer()) {
    c.explorer_kind = ex->Kind();
    c.document_modified = ex->Modified();
  }
  for (const PresentDevice& d : devices_)
    if (d.tape) c.tape_present = true;
  c.tape_busy = ctx_.app.TapeBusy;
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  AddViewerCommandContext(sub ? sub->widget() : nullptr, c);
  return c;
}

void CMainFrame::UpdateWindowTitle() {
  CChildFrameWindow* ex = ActiveExplorer();
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  QString doc = ex ? ex->DocumentTitle() : (sub ? sub->windowTitle() : QString());
  const QString title = doc.isEmpty() ? QString::fromLatin1(kAppTitle)
                                      : QString::fromLatin1(kAppTitle) + " - " + doc;
  if (windowTitle() != title) setWindowTitle(title);
}

void CMainFrame::OnIdle() {
  const CommandContext c = CurrentCommandContext();
  for (auto it = actions_.cbegin(); it != actions_.cend(); ++it)
    it.value()->setEnabled(IsCommandEnabled(it.key(), c));
  if (QAction* a = actions_.value(Cmd::AllFileTypes)) a->setChecked(ctx_.settings.ShowAllFileTypes);
  if (QAction* a = actions_.value(Cmd::RetainTapeLabels)) a->setChecked(ctx_.settings.RetainTapeLabels);
  CChildFrameWindow* ex = ActiveExplorer();
  if (ex) {
    const int p = static_cast<int>(ex->ListView()->CurrentPresentation());
    const Cmd views[] = {Cmd::LargeIcons, Cmd::SmallIcons, Cmd::List, Cmd::Details};
    for (int i = 0; i < 4; ++i) actions_.value(views[i])->setChecked(i == p);
    const QString summary = ex->SelectionSummary();
    if (status_text_->text() != summary) status_text_->setText(summary);
  }
  UpdateWindowTitle();
}

}  // namespace kelvo::gui
