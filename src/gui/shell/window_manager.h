// The main window's child windows: the multiple-document area, the PC
// explorer window (one), where new windows are placed, which one is active,
// finding an open window by its place or drive, and the placement of the
// main window and the PC window kept in the settings.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "gui/shell/shell_context.h"

class QMainWindow;
class QMdiArea;
class QMdiSubWindow;

namespace kelvo::gui {

class CChildFrameWindow;
class CFloppyWindow;
class CPcExplorerWindow;

class CWindowManager : public QObject {
  Q_OBJECT
 public:
  // Makes the document area the central widget of `main`.
  CWindowManager(ShellContext& ctx, QMainWindow& main);
  ~CWindowManager() override;

  ShellContext& Context() const { return ctx_; }
  QMdiArea* MdiArea() const { return mdi_; }
  // Adds a child window to the area, offset from the previous one, sized to
  // its content when `fit_content`, and kept wholly inside the area.
  QMdiSubWindow* AddChild(QWidget* child, bool fit_content = false);
  // Widens (never narrows) the window of `child` to its content, after its
  // first listing, still inside the area.
  void GrowToContent(QWidget* child);
  // Opens the PC explorer window (once) and lists the startup folder.
  CPcExplorerWindow* OpenPcExplorer();
  CPcExplorerWindow* PcExplorer() const;
  CChildFrameWindow* ActiveExplorer() const;
  QList<CChildFrameWindow*> Explorers() const;
  // The open explorer window whose place text is `place` (without regard to case).
  CChildFrameWindow* FindPlaceWindow(const QString& place) const;
  // The open window of floppy drive `drive` ("A:"), or null.
  CFloppyWindow* FindFloppyWindow(const QString& drive) const;
  // Whether a tape operation, a transfer or a floppy operation runs
  // (closing is refused then).
  bool OperationRunning() const;
  // Closes every child window; false when one refused.
  bool CloseAll();

  // The main window's placement: put back from the settings, and noted
  // after each move, resize and change of state.
  void ApplyPlacement();
  void RememberPlacement();
  void RememberMainState();
  void RememberExplorerPlacement();

 Q_SIGNALS:
  // An explorer window joined the area.
  void explorerAdded(CChildFrameWindow* window);
  // The PC window asks for a file to be opened as a document.
  void openFileRequested(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // Gives `sub` the size `size` at its place, both kept wholly inside the area.
  void PlaceInside(QMdiSubWindow* sub, QSize size);

  ShellContext& ctx_;
  QMainWindow& main_;
  QMdiArea* mdi_;
  // Cleared by Qt when the window goes, also while the main window is destroyed.
  QPointer<QMdiSubWindow> pc_window_;
  int next_offset_ = 0;
};

}  // namespace kelvo::gui
