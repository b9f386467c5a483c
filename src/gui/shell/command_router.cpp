#include "gui/shell/command_router.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMdiArea>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "gui/windows/device_bar.h"
#include "gui/windows/child_frame_window.h"
#include "gui/shell/document_commands.h"
#include "gui/shell/floppy_commands.h"
#include "gui/shell/recent_files.h"
#include "gui/shell/tape_menu.h"
#include "gui/shell/window_manager.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/viewers/viewer_windows.h"

namespace kelvo::gui {

CCommandRouter::CCommandRouter(QMainWindow& main, const ShellHost& host, CommandTargets targets)
    : main_(main), ctx_(host.ctx), devices_(host.devices), windows_(host.windows),
      targets_(std::move(targets)) {
  status_text_ = new QLabel(&main_);
  main_.statusBar()->addWidget(status_text_, 1);
  BuildMenus();
  connect(windows_.MdiArea(), &QMdiArea::subWindowActivated, this, [this] { OnIdle(); });
  idle_timer_ = new QTimer(this);
  idle_timer_->setInterval(150);
  connect(idle_timer_, &QTimer::timeout, this, &CCommandRouter::OnIdle);
  idle_timer_->start();
}

CCommandRouter::~CCommandRouter() {
  // The child windows close after this object is gone: stop listening first.
  idle_timer_->stop();
  windows_.MdiArea()->disconnect(this);
}

QAction* CCommandRouter::AddCommand(QMenu* menu, Cmd cmd, const QString& text,
                                const QKeySequence& key) {
  auto* action = menu->addAction(text);
  if (!key.isEmpty()) action->setShortcut(key);
  if (!CommandAvailable(cmd)) action->setStatusTip(QStringLiteral("Not available in this version"));
  connect(action, &QAction::triggered, this, [this, cmd] { RunCommand(cmd); });
  actions_.insert(cmd, action);
  return action;
}

void CCommandRouter::BuildMenus() {
  QMenu* file = main_.menuBar()->addMenu(QStringLiteral("&File"));
  AddCommand(file, Cmd::New, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
  AddCommand(file, Cmd::Open, QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
  AddCommand(file, Cmd::Save, QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
  AddCommand(file, Cmd::SaveAs, QStringLiteral("Save &As..."));
  file->addSeparator();
  AddCommand(file, Cmd::Delete, QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete))
      ->setShortcutContext(Qt::WidgetShortcut);  // the lists handle the key themselves
  AddCommand(file, Cmd::Rename, QStringLiteral("&Rename"), QKeySequence(Qt::Key_F2));
  AddCommand(file, Cmd::Properties, QStringLiteral("&Properties"));
  file->addSeparator();
  AddCommand(file, Cmd::Print, QStringLiteral("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P));
  AddCommand(file, Cmd::PrintSetup, QStringLiteral("P&rint Setup..."));
  AddCommand(file, Cmd::SaveFileList, QStringLiteral("Save File List"));
  file->addSeparator();
  targets_.recent.AttachMenu(file->addMenu(QStringLiteral("Recent &Files")));
  file->addSeparator();
  AddCommand(file, Cmd::Exit, QStringLiteral("E&xit"));

  QMenu* view = main_.menuBar()->addMenu(QStringLiteral("&View"));
  auto* toolbar = view->addAction(QStringLiteral("&Toolbar"));
  toolbar->setCheckable(true);
  toolbar->setChecked(true);
  connect(toolbar, &QAction::toggled, this, [this](bool on) { targets_.device_bar->setVisible(on); });
  view->addSeparator();
  auto* group = new QActionGroup(this);
  for (auto [cmd, text] : {std::pair{Cmd::LargeIcons, "&Large Icons"},
                           std::pair{Cmd::SmallIcons, "&Small Icons"}, std::pair{Cmd::List, "L&ist"},
                           std::pair{Cmd::Details, "&Details"}}) {
    QAction* a = AddCommand(view, cmd, QString::fromUtf8(text));
    a->setCheckable(true);
    group->addAction(a);
  }
  view->addSeparator();
  QMenu* arrange = view->addMenu(QStringLiteral("Arrange &Icons"));
  AddCommand(arrange, Cmd::ByName, QStringLiteral("by &Name"));
  AddCommand(arrange, Cmd::ByType, QStringLiteral("by &Type"));
  AddCommand(arrange, Cmd::BySize, QStringLiteral("by &Size"));
  AddCommand(arrange, Cmd::ByDate, QStringLiteral("by &Date"));
  // F2 renames and Ctrl+A selects all, as in the desktop's file managers.
  AddCommand(view, Cmd::SelectAll, QStringLiteral("&Select All"), QKeySequence::SelectAll);
  AddCommand(view, Cmd::Refresh, QStringLiteral("&Refresh"), QKeySequence(Qt::Key_F5));
  view->addSeparator();
  AddCommand(view, Cmd::ZoomIn, QStringLiteral("Zoom In"));
  AddCommand(view, Cmd::ZoomOut, QStringLiteral("Zoom Out"));
  AddCommand(view, Cmd::Rotate, QStringLiteral("Rotate"));

  QMenu* disk = main_.menuBar()->addMenu(QStringLiteral("&Disk"));
  AddCommand(disk, Cmd::CopyDisk, QStringLiteral("&Copy Disk..."));
  AddCommand(disk, Cmd::LabelDisk, QStringLiteral("&Label Disk..."));
  AddCommand(disk, Cmd::FormatDisk, QStringLiteral("&Format Disk..."));
  disk->addSeparator();
  AddCommand(disk, Cmd::DiskDriveInfo, QStringLiteral("&Drive Information..."));

  QMenu* tape = main_.menuBar()->addMenu(QStringLiteral("&Tape"));
  AddCommand(tape, Cmd::TapeList, QStringLiteral("&List Files..."));
  AddCommand(tape, Cmd::TapeRestore, QStringLiteral("&Restore Files..."));
  tape->addSeparator();
  AddCommand(tape, Cmd::TapeInit, QStringLiteral("&Initialise Tape"));
  AddCommand(tape, Cmd::TapeErase, QStringLiteral("&Erase Tape"));
  AddCommand(tape, Cmd::TapeLoad, QStringLiteral("L&oad Tape"));
  AddCommand(tape, Cmd::TapeUnload, QStringLiteral("&Unload Tape"));
  AddCommand(tape, Cmd::TapeRewind, QStringLiteral("Re&wind Tape"));
  AddCommand(tape, Cmd::TapeRetension, QStringLiteral("Re&tension Tape"));
  tape->addSeparator();
  AddCommand(tape, Cmd::TapeSaveImage, QStringLiteral("&Save Tape Image..."));
  AddCommand(tape, Cmd::TapeWriteImage, QStringLiteral("Wr&ite Tape Image..."));
  tape->addSeparator();
  AddCommand(tape, Cmd::TapeDriveInfo, QStringLiteral("&Drive Information..."));

  QMenu* options = main_.menuBar()->addMenu(QStringLiteral("&Options"));
  AddCommand(options, Cmd::AllFileTypes, QStringLiteral("All &File Types"))->setCheckable(true);
  AddCommand(options, Cmd::RetainTapeLabels, QStringLiteral("Retain &Tape Labels"))
      ->setCheckable(true);
  options->addSeparator();
  AddCommand(options, Cmd::Preferences, QStringLiteral("Preferences..."));

  QMenu* window = main_.menuBar()->addMenu(QStringLiteral("&Window"));
  AddCommand(window, Cmd::Close, QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_W));
  AddCommand(window, Cmd::CloseAll, QStringLiteral("Close All"));
  window->addSeparator();
  window->addAction(QStringLiteral("&Cascade"), windows_.MdiArea(), &QMdiArea::cascadeSubWindows);
  window->addAction(QStringLiteral("&Tile"), windows_.MdiArea(), &QMdiArea::tileSubWindows);
  window->addSeparator();
  auto* window_list = new QActionGroup(window);
  connect(window, &QMenu::aboutToShow, this, [this, window, window_list] {
    qDeleteAll(window_list->actions());
    int n = 1;
    for (QMdiSubWindow* sub : windows_.MdiArea()->subWindowList()) {
      QAction* a = window->addAction(QStringLiteral("&%1 %2").arg(n++).arg(sub->windowTitle()));
      a->setCheckable(true);
      a->setChecked(sub == windows_.MdiArea()->activeSubWindow());
      window_list->addAction(a);
      connect(a, &QAction::triggered, this, [this, sub] { windows_.MdiArea()->setActiveSubWindow(sub); });
    }
  });

  QMenu* help = main_.menuBar()->addMenu(QStringLiteral("&Help"));
  AddCommand(help, Cmd::About, QStringLiteral("&About Kelvo Disk Utility..."));

  // Menus show the enabling of the moment.
  for (QMenu* m : {file, view, disk, tape, options, window})
    connect(m, &QMenu::aboutToShow, this, &CCommandRouter::OnIdle);
}

void CCommandRouter::SetPresentation(int p) {
  if (CChildFrameWindow* ex = windows_.ActiveExplorer())
    ex->ListView()->SetPresentation(static_cast<Presentation>(p));
}

void CCommandRouter::SortActive(int column) {
  if (CChildFrameWindow* ex = windows_.ActiveExplorer()) {
    // The fourth key is the date of PC files and the sequence number of tape entries.
    if (column < ex->Model()->columnCount()) ex->Model()->sort(column);
  }
}

void CCommandRouter::ToggleShowAll() {
  ctx_.settings.ShowAllFileTypes = !ctx_.settings.ShowAllFileTypes;
  if (CPcExplorerWindow* pc = windows_.PcExplorer()) pc->Relist();
}

void CCommandRouter::RunCommand(Cmd cmd) {
  if (!IsCommandEnabled(cmd, CurrentCommandContext())) return;
  CChildFrameWindow* ex = windows_.ActiveExplorer();
  switch (cmd) {
    case Cmd::New: targets_.documents.NewDocument(); break;
    case Cmd::Open: targets_.documents.OpenWithDialog(); break;
    case Cmd::Save: targets_.documents.SaveActive(false); break;
    case Cmd::SaveAs: targets_.documents.SaveActive(true); break;
    case Cmd::Delete: if (ex) ex->DeleteSelected(); break;
    case Cmd::Rename: if (ex) ex->RenameSelected(); break;
    case Cmd::Properties: if (ex) ex->ShowProperties(); break;
    case Cmd::Print: targets_.documents.PrintFileList(); break;
    case Cmd::PrintSetup: targets_.documents.PrintSetup(); break;
    case Cmd::SaveFileList: targets_.documents.SaveFileList(); break;
    case Cmd::SelectAll: if (ex) ex->ListView()->SelectAll(); break;
    case Cmd::Refresh: if (ex) ex->Refresh(); break;
    case Cmd::AllFileTypes: ToggleShowAll(); break;
    case Cmd::LargeIcons: SetPresentation(0); break;
    case Cmd::SmallIcons: SetPresentation(1); break;
    case Cmd::List: SetPresentation(2); break;
    case Cmd::Details: SetPresentation(3); break;
    case Cmd::ByName: SortActive(0); break;
    case Cmd::BySize: SortActive(1); break;
    case Cmd::ByType: SortActive(2); break;
    case Cmd::ByDate: SortActive(3); break;
    case Cmd::RetainTapeLabels:
      ctx_.settings.RetainTapeLabels = !ctx_.settings.RetainTapeLabels;
      break;
    case Cmd::Preferences: targets_.documents.ShowPreferences(); break;
    case Cmd::Close:
      if (QMdiSubWindow* sub = windows_.MdiArea()->activeSubWindow()) sub->close();
      break;
    case Cmd::CloseAll: windows_.MdiArea()->closeAllSubWindows(); break;
    case Cmd::About: targets_.about(); break;
    case Cmd::ZoomIn:
    case Cmd::ZoomOut:
    case Cmd::Rotate:
      if (QMdiSubWindow* sub = windows_.MdiArea()->activeSubWindow()) RunViewerCommand(sub->widget(), cmd);
      break;
    case Cmd::Exit: main_.close(); break;
    case Cmd::CopyDisk:
    case Cmd::LabelDisk:
    case Cmd::FormatDisk:
    case Cmd::DiskDriveInfo:
      targets_.floppies.RunDiskCommand(cmd);
      break;
    case Cmd::TapeList:
    case Cmd::TapeRestore:
    case Cmd::TapeInit:
    case Cmd::TapeErase:
    case Cmd::TapeLoad:
    case Cmd::TapeUnload:
    case Cmd::TapeRewind:
    case Cmd::TapeRetension:
    case Cmd::TapeSaveImage:
    case Cmd::TapeWriteImage:
    case Cmd::TapeDriveInfo:
      targets_.tapes.RunTapeCommand(cmd);
      break;
    default: break;  // commands of dialogs this version does not have stay greyed
  }
  OnIdle();
}

CommandContext CCommandRouter::CurrentCommandContext() const {
  CommandContext c;
  if (CChildFrameWindow* ex = windows_.ActiveExplorer()) {
    c.explorer_kind = ex->Kind();
    c.document_modified = ex->Modified();
  }
  for (const PresentDevice& d : devices_)
    if (d.tape) c.tape_present = true;
  c.tape_busy = ctx_.app.TapeBusy;
  QMdiSubWindow* sub = windows_.MdiArea()->activeSubWindow();
  AddViewerCommandContext(sub ? sub->widget() : nullptr, c);
  return c;
}

void CCommandRouter::UpdateWindowTitle() {
  CChildFrameWindow* ex = windows_.ActiveExplorer();
  QMdiSubWindow* sub = windows_.MdiArea()->activeSubWindow();
  QString doc = ex ? ex->DocumentTitle() : (sub ? sub->windowTitle() : QString());
  const QString title = doc.isEmpty() ? QString::fromLatin1(kAppTitle)
                                      : QString::fromLatin1(kAppTitle) + " - " + doc;
  if (main_.windowTitle() != title) main_.setWindowTitle(title);
}

void CCommandRouter::OnIdle() {
  const CommandContext c = CurrentCommandContext();
  for (auto it = actions_.cbegin(); it != actions_.cend(); ++it)
    it.value()->setEnabled(IsCommandEnabled(it.key(), c));
  if (QAction* a = actions_.value(Cmd::AllFileTypes)) a->setChecked(ctx_.settings.ShowAllFileTypes);
  if (QAction* a = actions_.value(Cmd::RetainTapeLabels)) a->setChecked(ctx_.settings.RetainTapeLabels);
  CChildFrameWindow* ex = windows_.ActiveExplorer();
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
