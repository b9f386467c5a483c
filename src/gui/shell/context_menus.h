// Context menus of the explorer windows: on list entries Open, Copy To...,
// Rename, Delete and Properties; on tree items Open and Refresh. They use the
// main window's commands, so enabling and keys match the menus.
#pragma once

class QMenu;
class QPoint;

namespace kelvo::gui {

class CMainFrame;
class CChildFrameWindow;

// Gives the list and tree of `window` their context menus.
void InstallContextMenus(CMainFrame& frame, CChildFrameWindow* window);

// The context menu of `window`'s list (for the entries selected now); the
// caller owns it.
QMenu* MakeListContextMenu(CMainFrame& frame, CChildFrameWindow* window);

// Copies the selected entries of `window` to a place the user chooses: a PC
// folder, or, from the PC, an open printer place or a device.
void CopySelectionTo(CMainFrame& frame, CChildFrameWindow* window);

}  // namespace kelvo::gui
