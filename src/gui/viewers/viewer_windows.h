// The viewer windows as the main window sees them: opening a file in the
// window of its document type, and the image commands of the View menu.
#pragma once

#include <QString>

#include "gui/shell/commands.h"
#include "gui/shell/shell_context.h"

class QWidget;

namespace kelvo::gui {

class CImgView;

// True when `path` names a font, image, source or task file (by its
// extension, without regard to case).
bool IsViewerFile(const QString& path);

// Opens `path` as a document of its viewer type and returns its frame, not
// yet placed in a window area. Null when the document does not open; the
// reason has then been shown through `ctx.ui` (nothing for a refusal that
// is silent by design).
QWidget* OpenViewerFrame(const QString& path, ShellContext& ctx);

// The image view of an image window (null for any other window).
CImgView* ImageViewOf(QWidget* child);

// Fills in what the enabling of Zoom In, Zoom Out and Rotate looks at, for
// the active child window `child` (may be null).
void AddViewerCommandContext(QWidget* child, CommandContext& c);

// Runs Zoom In, Zoom Out or Rotate on the image window `child`; false when
// `cmd` is not one of them or `child` is not an image window.
bool RunViewerCommand(QWidget* child, Cmd cmd);

}  // namespace kelvo::gui
