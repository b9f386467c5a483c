// CMainFrame: the main window. It owns and wires the parts that do its
// work: the child windows and their placement (CWindowManager), the menus
// and the enabling of their commands (CCommandRouter), documents and the
// recent-file list (CDocumentCommands, CRecentFiles), drag and drop
// (CDropHandler), and the Disk and Tape menus (CFloppyCommands,
// CTapeCommands). The device bar has one button per present floppy and tape
// drive.
#pragma once

#include <QMainWindow>
#include <memory>
#include <vector>

#include "gui/shell/command_router.h"
#include "gui/shell/document_commands.h"
#include "gui/shell/drop_handling.h"
#include "gui/shell/floppy_commands.h"
#include "gui/shell/recent_files.h"
#include "gui/shell/shell_host.h"
#include "gui/shell/tape_menu.h"
#include "gui/shell/window_manager.h"
#include "gui/windows/device_list.h"

namespace kelvo::gui {

class CDeviceBar;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  CMainFrame(ShellContext& ctx, std::vector<PresentDevice> devices, QWidget* parent = nullptr);
  ~CMainFrame() override;

  ShellContext& Context() const { return ctx_; }
  const std::vector<PresentDevice>& Devices() const { return devices_; }
  CDeviceBar* DeviceBar() const { return device_bar_; }

  // The parts.
  CWindowManager& Windows() const { return *windows_; }
  CCommandRouter& Commands() const { return *commands_; }
  CDocumentCommands& Documents() const { return *documents_; }
  CRecentFiles& Recent() const { return *recent_; }
  CDropHandler& Drops() const { return *drops_; }
  CFloppyCommands& Floppies() const { return *floppies_; }
  CTapeCommands& Tapes() const { return *tapes_; }

  // What a user does to the main window, handed to the part that does it.
  QMdiArea* MdiArea() const { return windows_->MdiArea(); }
  QAction* Action(Cmd cmd) const { return commands_->Action(cmd); }
  void OnIdle() { commands_->OnIdle(); }
  void RunCommand(Cmd cmd) { commands_->RunCommand(cmd); }
  bool OpenDocument(const QString& path) { return documents_->OpenDocument(path); }
  void HandleDrop(CChildFrameWindow* target, const QMimeData* data) { drops_->HandleDrop(target, data); }
  void HandleDeviceDrop(const PresentDevice& device, const QMimeData* data) {
    drops_->HandleDeviceDrop(device, data);
  }
  void ShowAbout();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void OpenDeviceWindow(const PresentDevice& device);

  ShellContext& ctx_;
  std::vector<PresentDevice> devices_;
  CDeviceBar* device_bar_ = nullptr;
  // Destroyed in reverse order: the window manager, which the others use, last.
  std::unique_ptr<CWindowManager> windows_;
  std::unique_ptr<CRecentFiles> recent_;
  std::unique_ptr<CDocumentCommands> documents_;
  std::unique_ptr<CDropHandler> drops_;
  std::unique_ptr<CFloppyCommands> floppies_;
  std::unique_ptr<CTapeCommands> tapes_;
  std::unique_ptr<CCommandRouter> commands_;
};

}  // namespace kelvo::gui
