#include "gui/shell/window_manager.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "gui/windows/child_frame_window.h"
#include "gui/windows/floppy_window.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/windows/window_placement.h"

namespace kelvo::gui {

CWindowManager::CWindowManager(ShellContext& ctx, QMainWindow& main)
    : ctx_(ctx), main_(main) {
  mdi_ = new QMdiArea(&main);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  main.setCentralWidget(mdi_);
}

CWindowManager::~CWindowManager() {
  // The child windows close after this object is gone: stop listening first.
  mdi_->disconnect(this);
  for (QMdiSubWindow* sub : mdi_->subWindowList()) {
    sub->removeEventFilter(this);
    sub->disconnect(this);
    if (sub->widget()) sub->widget()->disconnect(this);
  }
  pc_window_ = nullptr;
}

void CWindowManager::ApplyPlacement() {
  const kelvo::Settings& s = ctx_.settings;
  if (s.Maximized) {
    // The system's default position and size, shown maximized.
    main_.setWindowState(main_.windowState() | Qt::WindowMaximized);
    return;
  }
  const QRect saved(s.MainWindowLeft, s.MainWindowTop, s.MainWindowWidth, s.MainWindowHeight);
  main_.setGeometry(KeepInside(saved, AvailableScreenArea(saved)));
}

void CWindowManager::RememberPlacement() {
  if (main_.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  if (!main_.isVisible()) return;
  kelvo::Settings& s = ctx_.settings;
  const QRect r = main_.geometry();
  s.MainWindowLeft = r.left();
  s.MainWindowTop = r.top();
  s.MainWindowWidth = r.width();
  s.MainWindowHeight = r.height();
}

void CWindowManager::RememberMainState() {
  if (main_.windowState() & Qt::WindowMaximized) ctx_.settings.Maximized = true;
  else if (!(main_.windowState() & Qt::WindowMinimized)) ctx_.settings.Maximized = false;
}

bool CWindowManager::eventFilter(QObject* watched, QEvent* e) {
  // The event type is tested first: while the PC window is being destroyed it
  // is no longer a QMdiSubWindow, and comparing the guarded pointer reads it as one.
  if ((e->type() == QEvent::Move || e->type() == QEvent::Resize) && watched == pc_window_)
    RememberExplorerPlacement();
  return QObject::eventFilter(watched, e);
}

void CWindowManager::RememberExplorerPlacement() {
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

QMdiSubWindow* CWindowManager::AddChild(QWidget* child, bool fit_content) {
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
  if (auto* ex = qobject_cast<CChildFrameWindow*>(child)) Q_EMIT explorerAdded(ex);
  sub->show();
  // One opened over a maximized window is maximized too: resizing it would
  // leave it frameless at that size. Otherwise the cascade or the content's
  // size must not put any of it outside the area (a large font or scale).
  if (!sub->isMaximized()) PlaceInside(sub, fit_content ? sub->sizeHint() : sub->size());
  return sub;
}

void CWindowManager::GrowToContent(QWidget* child) {
  auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget());
  if (sub && !sub->isMaximized()) PlaceInside(sub, sub->size().expandedTo(sub->sizeHint()));
}

void CWindowManager::PlaceInside(QMdiSubWindow* sub, QSize size) {
  sub->setGeometry(MoveInside(QRect(sub->pos(), size), QRect(QPoint(0, 0), mdi_->viewport()->size())));
}

CPcExplorerWindow* CWindowManager::OpenPcExplorer() {
  if (pc_window_) {
    mdi_->setActiveSubWindow(pc_window_);
    return PcExplorer();
  }
  auto* pc = new CPcExplorerWindow(ctx_);
  connect(pc, &CPcExplorerWindow::openFileRequested, this, &CWindowManager::openFileRequested);
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

CPcExplorerWindow* CWindowManager::PcExplorer() const {
  return pc_window_ ? qobject_cast<CPcExplorerWindow*>(pc_window_->widget()) : nullptr;
}

CChildFrameWindow* CWindowManager::ActiveExplorer() const {
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  return sub ? qobject_cast<CChildFrameWindow*>(sub->widget()) : nullptr;
}

QList<CChildFrameWindow*> CWindowManager::Explorers() const {
  QList<CChildFrameWindow*> out;
  for (QMdiSubWindow* sub : mdi_->subWindowList())
    if (auto* ex = qobject_cast<CChildFrameWindow*>(sub->widget())) out << ex;
  return out;
}

CChildFrameWindow* CWindowManager::FindPlaceWindow(const QString& place) const {
  for (CChildFrameWindow* ex : Explorers())
    if (ex->PlaceText().compare(place, Qt::CaseInsensitive) == 0) return ex;
  return nullptr;
}

CFloppyWindow* CWindowManager::FindFloppyWindow(const QString& drive) const {
  for (CChildFrameWindow* ex : Explorers()) {
    auto* floppy = qobject_cast<CFloppyWindow*>(ex);
    if (floppy && floppy->Device().name.compare(drive, Qt::CaseInsensitive) == 0) return floppy;
  }
  return nullptr;
}

bool CWindowManager::OperationRunning() const {
  if (ctx_.app.TapeBusy || ctx_.app.CopyInProgress) return true;
  for (CChildFrameWindow* ex : Explorers())
    if (ex->Busy()) return true;
  return false;
}

bool CWindowManager::CloseAll() {
  mdi_->closeAllSubWindows();
  return mdi_->subWindowList().isEmpty();
}

}  // namespace kelvo::gui
