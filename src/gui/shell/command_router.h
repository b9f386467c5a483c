// The main window's menus and the routing of their commands: each command
// goes to the part of the main window that does it. When the program is
// idle, and before a menu shows, every command is enabled by its rule in the
// context of the moment, and the status bar shows the selection summary.
#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <functional>

#include "gui/shell/commands.h"
#include "gui/shell/shell_host.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QTimer;

namespace kelvo::gui {

class CDocumentCommands;
class CFloppyCommands;
class CRecentFiles;
class CTapeCommands;

// The parts commands are routed to.
struct CommandTargets {
  CDocumentCommands& documents;
  CRecentFiles& recent;
  CFloppyCommands& floppies;
  CTapeCommands& tapes;
  QWidget* device_bar;          // shown and hidden by View > Toolbar
  std::function<void()> about;  // Help > About
};

class CCommandRouter : public QObject {
  Q_OBJECT
 public:
  // Builds the menus and the status bar of `main` and starts the idle work.
  CCommandRouter(QMainWindow& main, const ShellHost& host, CommandTargets targets);
  ~CCommandRouter() override;

  QAction* Action(Cmd cmd) const { return actions_.value(cmd); }
  CommandContext CurrentCommandContext() const;
  // The idle work: enabling of every command and the selection summary.
  void OnIdle();
  void RunCommand(Cmd cmd);

 private:
  void BuildMenus();
  QAction* AddCommand(QMenu* menu, Cmd cmd, const QString& text,
                      const QKeySequence& key = QKeySequence());
  void UpdateWindowTitle();
  void SetPresentation(int presentation);
  void SortActive(int column);
  void ToggleShowAll();

  QMainWindow& main_;
  ShellContext& ctx_;
  const std::vector<PresentDevice>& devices_;
  CWindowManager& windows_;
  CommandTargets targets_;
  QHash<Cmd, QAction*> actions_;
  QLabel* status_text_;
  QTimer* idle_timer_;
};

}  // namespace kelvo::gui
