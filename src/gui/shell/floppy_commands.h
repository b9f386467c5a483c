// The main window's floppy commands: the floppy explorer windows and the
// Disk menu's dialogs (Copy Disk, Label Disk, Format Disk, Drive Information).
#pragma once

#include <QObject>
#include <QString>

#include "gui/shell/commands.h"
#include "gui/shell/shell_host.h"

namespace kelvo::gui {

class CFloppyWindow;

class CFloppyCommands : public QObject {
  Q_OBJECT
 public:
  explicit CFloppyCommands(const ShellHost& host);

  // Brings the window of `device` to the front, opening and listing one
  // when there is none.
  CFloppyWindow* OpenFloppyWindow(const PresentDevice& device);
  void RunDiskCommand(Cmd cmd);
  // The Format dialog, with `drive` selected when it names a drive.
  void ShowFormatDialog(const QString& drive);

 private:
  CFloppyWindow* FindFloppyWindow(const QString& drive) const;

  ShellContext& ctx_;
  const std::vector<PresentDevice>& devices_;
  CWindowManager& windows_;
  QWidget* parent_;
};

}  // namespace kelvo::gui
