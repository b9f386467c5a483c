// CMainFrame: the main window. A multiple-document area holds the explorer
// and viewer windows; the device bar has one button per present floppy and
// tape drive; the menus carry every command with its enabling rule, refreshed
// when the program is idle together with the status bar's selection summary.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <QUrl>
#include <memory>
#include <vector>

#include "gui/shell/commands.h"
#include "gui/windows/device_list.h"
#include "gui/shell/shell_context.h"

class QMdiArea;
class QMdiSubWindow;
class QAction;
class QLabel;
class QMimeData;
class QTimer;

namespace kelvo::gui {

class CChildFrameWindow;
class CPcExplorerWindow;
class CDeviceBar;
class CDiskImageWindow;
class CDragExportFolders;
class CFloppyWindow;
struct TransferRequest;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  CMainFrame(ShellContext& ctx, std::vector<PresentDevice> devices, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Opens the PC explorer window (once) and lists the startup folder.
  CPcExplorerWindow* OpenPcExplorer();
  CPcExplorerWindow* PcExplorer() const;
  // Opens a file as a document of the type its extension names.
  bool OpenDocument(const QString& path);

  QMdiArea* MdiArea() const { return mdi_; }
  CChildFrameWindow* ActiveExplorer() const;
  QList<CChildFrameWindow*> Explorers() const;
  // The open explorer window whose place text is `place` (without regard to case).
  CChildFrameWindow* FindPlaceWindow(const QString& place) const;
  QAction* Action(Cmd cmd) const { return actions_.value(cmd); }
  CommandContext CurrentCommandContext() const;
  const std::vector<PresentDevice>& Devices() const { return devices_; }
  CDeviceBar* DeviceBar() const { return device_bar_; }
  ShellContext& Context() const { return ctx_; }

  // The idle work: enabling of every command and the selection summary.
  void OnIdle();
  void RunCommand(Cmd cmd);
  // The Tape menu's commands (tape_menu.cpp).
  void RunTapeCommand(Cmd cmd);
  // Handles a drop of `data` on `target` (the window dropped on).
  void HandleDrop(CChildFrameWindow* target, const QMimeData* data);
  // Handles a drop on the device button of `device`.
  void HandleDeviceDrop(const PresentDevice& device, const QMimeData* data);
  void ShowAbout();
  // Adds a child window to the area, offset from the previous one.
  QMdiSubWindow* AddChild(QWidget* child);
  // Saves an image window's document, asking for a name when it has none
  // or `save_as` is set; false when nothing was saved.
  bool SaveImage(CDiskImageWindow* window, bool save_as);
  // Writes the listing of the active explorer window to `path`.
  bool SaveFileListTo(const QString& path);
  QStringList RecentFiles() const { return recent_files_; }
  // Puts back the recent-file list kept in the settings store.
  void SetRecentFiles(const QStringList& files);
  // The desktop's recently-used list that opened and saved files are also
  // added to (empty: none).
  void SetDesktopRecentList(const QString& xbel_path) { desktop_recent_list_ = xbel_path; }
  // Exports `names` of `window`'s place into a new private folder for a drag
  // out to the desktop; the URLs of the files written.
  QList<QUrl> ExportForDrag(CChildFrameWindow* window, const QStringList& names);
  // Whether a tape operation, a transfer or a floppy operation runs
  // (closing is refused then).
  bool OperationRunning() const;

  // Floppy windows and the Disk menu (floppy_commands.cpp).
  CFloppyWindow* OpenFloppyWindow(const PresentDevice& device);
  // The open window of floppy drive `drive` ("A:"), or null.
  CFloppyWindow* FindFloppyWindow(const QString& drive) const;
  void RunDiskCommand(Cmd cmd);
  // The Format dialog, with `drive` selected when it names a drive.
  void ShowFormatDialog(const QString& drive);

 protected:
  void closeEvent(QCloseEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // Runs a dropped transfer and brings its open destination window up to date.
  void FinishDrop(CChildFrameWindow* destination, const TransferRequest& r);
  void BuildMenus();
  QAction* AddCommand(QMenu* menu, Cmd cmd, const QString& text,
                      const QKeySequence& key = QKeySequence());
  void RememberPlacement();
  void RememberExplorerPlacement();
  void ApplyPlacement();
  void UpdateWindowTitle();
  void OpenWithDialog();
  void SetPresentation(int presentation);
  void SortActive(int column);
  void ToggleShowAll();
  void SaveFileList();
  void PrintFileList();
  void OpenDeviceWindow(const PresentDevice& device);
  void NewDocument();
  void AddImageWindow(CDiskImageWindow* window);
  // Adds a file opened or saved; `disk_image` when it was opened as one.
  void AddRecentFile(const QString& path, bool disk_image);
  void RebuildRecentMenu();
  void SaveActive(bool save_as);
  void PrintSetup();
  void ShowPreferences();

  ShellContext& ctx_;
  std::vector<PresentDevice> devices_;
  QMdiArea* mdi_;
  CDeviceBar* device_bar_;
  QLabel* status_text_;
  QTimer* idle_timer_;
  QHash<Cmd, QAction*> actions_;
  // Cleared by Qt when the window goes, also while this frame is destroyed.
  QPointer<QMdiSubWindow> pc_window_;
  int next_offset_ = 0;
  int new_documents_ = 0;
  QStringList recent_files_;
  QMenu* recent_menu_ = nullptr;
  QString desktop_recent_list_;
  std::unique_ptr<CDragExportFolders> drag_folders_;
};

}  // namespace kelvo::gui
