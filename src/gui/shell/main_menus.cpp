// The main window's menus and the commands behind them.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "gui/windows/device_bar.h"
#include "gui/windows/child_frame_window.h"
#include "gui/shell/main_frame.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/viewers/viewer_windows.h"

namespace kelvo::gui {

QAction* CMainFrame::AddCommand(QMenu* menu, Cmd cmd, const QString& text,
                                const QKeySequence& key) {
  auto* action = menu->addAction(text);
  if (!key.isEmpty()) action->setShortcut(key);
  if (!CommandAvailable(cmd)) action->setStatusTip(QStringLiteral("Not available in this version"));
  connect(action, &QAction::triggered, this, [this, cmd] { RunCommand(cmd); });
  actions_.insert(cmd, action);
  return action;
}

void CMainFrame::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
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
  recent_menu_ = file->addMenu(QStringLiteral("Recent &Files"));
  recent_menu_->setEnabled(false);
  file->addSeparator();
  AddCommand(file, Cmd::Exit, QStringLiteral("E&xit"));

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  auto* toolbar = view->addAction(QStringLiteral("&Toolbar"));
  toolbar->setCheckable(true);
  toolbar->setChecked(true);
  connect(toolbar, &QAction::toggled, this, [this](bool on) { DeviceBar()->setVisible(on); });
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

  QMenu* disk = menuBar()->addMenu(QStringLiteral("&Disk"));
  AddCommand(disk, Cmd::CopyDisk, QStringLiteral("&Copy Disk..."));
  AddCommand(disk, Cmd::LabelDisk, QStringLiteral("&Label Disk..."));
  AddCommand(disk, Cmd::FormatDisk, QStringLiteral("&Format Disk..."));
  disk->addSeparator();
  AddCommand(disk, Cmd::DiskDriveInfo, QStringLiteral("&Drive Information..."));

  QMenu* tape = menuBar()->addMenu(QStringLiteral("&Tape"));
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

  QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
  AddCommand(options, Cmd::AllFileTypes, QStringLiteral("All &File Types"))->setCheckable(true);
  AddCommand(options, Cmd::RetainTapeLabels, QStringLiteral("Retain &Tape Labels"))
      ->setCheckable(true);
  options->addSeparator();
  AddCommand(options, Cmd::Preferences, QStringLiteral("Preferences..."));

  QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
  AddCommand(window, Cmd::Close, QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_W));
  AddCommand(window, Cmd::CloseAll, QStringLiteral("Close All"));
  window->addSeparator();
  window->addAction(QStringLiteral("&Cascade"), mdi_, &QMdiArea::cascadeSubWindows);
  window->addAction(QStringLiteral("&Tile"), mdi_, &QMdiArea::tileSubWindows);
  window->addSeparator();
  auto* window_list = new QActionGroup(window);
  connect(window, &QMenu::aboutToShow, this, [this, window, window_list] {
    qDeleteAll(window_list->actions());
    int n = 1;
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
      QAction* a = window->addAction(QStringLiteral("&%1 %2").arg(n++).arg(sub->windowTitle()));
      a->setCheckable(true);
      a->setChecked(sub == mdi_->activeSubWindow());
      window_list->addAction(a);
      connect(a, &QAction::triggered, this, [this, sub] { mdi_->setActiveSubWindow(sub); });
    }
  });

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  AddCommand(help, Cmd::About, QStringLiteral("&About Kelvo Disk Utility..."));

  // Menus show the enabling of the moment.
  for (QMenu* m : {file, view, disk, tape, options, window})
    connect(m, &QMenu::aboutToShow, this, &CMainFrame::OnIdle);
}

void CMainFrame::SetPresentation(int p) {
  if (CChildFrameWindow* ex = ActiveExplorer())
    ex->ListView()->SetPresentation(static_cast<Presentation>(p));
}

void CMainFrame::SortActive(int column) {
  if (CChildFrameWindow* ex = ActiveExplorer()) {
    // The fourth key is the date of PC files and the sequence number of tape entries.
    if (column < ex->Model()->columnCount()) ex->Model()->sort(column);
  }
}

void CMainFrame::ToggleShowAll() {
  ctx_.settings.ShowAllFileTypes = !ctx_.settings.ShowAllFileTypes;
  if (CPcExplorerWindow* pc = PcExplorer()) pc->Relist();
}

void CMainFrame::RunCommand(Cmd cmd) {
  if (!IsCommandEnabled(cmd, CurrentCommandContext())) return;
  CChildFrameWindow* ex = ActiveExplorer();
  switch (cmd) {
    case Cmd::New: NewDocument(); break;
    case Cmd::Open: OpenWithDialog(); break;
    case Cmd::Save: SaveActive(false); break;
    case Cmd::SaveAs: SaveActive(true); break;
    case Cmd::Delete: if (ex) ex->DeleteSelected(); break;
    case Cmd::Rename: if (ex) ex->RenameSelected(); break;
    case Cmd::Properties: if (ex) ex->ShowProperties(); break;
    case Cmd::Print: PrintFileList(); break;
    case Cmd::PrintSetup: PrintSetup(); break;
    case Cmd::SaveFileList: SaveFileList(); break;
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
    case Cmd::Preferences: ShowPreferences(); break;
    case Cmd::Close:
      if (QMdiSubWindow* sub = mdi_->activeSubWindow()) sub->close();
      break;
    case Cmd::CloseAll: mdi_->closeAllSubWindows(); break;
    case Cmd::About: ShowAbout(); break;
    case Cmd::ZoomIn:
    case Cmd::ZoomOut:
    case Cmd::Rotate:
      if (QMdiSubWindow* sub = mdi_->activeSubWindow()) RunViewerCommand(sub->widget(), cmd);
      break;
    case Cmd::Exit: close(); break;
    case Cmd::CopyDisk:
    case Cmd::LabelDisk:
    case Cmd::FormatDisk:
    case Cmd::DiskDriveInfo:
      RunDiskCommand(cmd);
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
      RunTapeCommand(cmd);
      break;
    default: break;  // commands of dialogs this version does not have stay greyed
  }
  OnIdle();
}

}  // namespace kelvo::gui
