#include "gui/viewers/viewer_windows.h"

#include <QFile>
#include <QFileInfo>
#include <memory>
#include <new>

#include "filetypes/file_types.h"
#include "gui/viewers/font_frame.h"
#include "gui/viewers/image_frame.h"
#include "gui/viewers/text_frame.h"

namespace kelvo::gui {
namespace {

ViewerKind KindOf(const QString& path) {
  return GetViewerKind(QFileInfo(path).fileName().toStdString());
}

QWidget* OpenFont(const std::string& file, const QString& path, ShellContext& ctx) {
  auto doc = std::make_unique<CFontDoc>();
  if (!doc->OnOpenDocument(file, *ctx.ui)) return nullptr;
  return new CFontFrame(std::move(doc), path);
}

QWidget* OpenImage(const std::string& file, const QString& path, ShellContext& ctx) {
  auto doc = std::make_unique<CImgDoc>();
  if (!doc->OnOpenDocument(file, *ctx.ui)) return nullptr;
  ImageViewOptions options;
  options.default_zoom = ctx.settings.DefaultZoom;
  options.zoom_increment = ctx.settings.ZoomIncrement;
  return new CImgFrame(std::move(doc), path, options, *ctx.ui);
}

QWidget* OpenSource(const std::string& file, const QString& path, ShellContext& ctx) {
  auto doc = std::make_unique<CSourceDoc>();
  if (!doc->Load(file)) {
    // Another extension is refused silently; a source file that cannot be
    // read says so.
    if (SourceTypeOfPath(file) >= 0) ctx.ui->ReportError(ERR_FILE_NOT_FOUND);
    return nullptr;
  }
  return new CSourceFrame(std::move(doc), path);
}

QWidget* OpenTask(const std::string& file, const QString& path, ShellContext& ctx) {
  auto doc = std::make_unique<CTaskDoc>();
  if (!doc->Load(file)) {
    ctx.ui->ReportError(ERR_FILE_NOT_FOUND);
    return nullptr;
  }
  return new CTaskFrame(std::move(doc), path);
}

}  // namespace

bool IsViewerFile(const QString& path) { return KindOf(path) != ViewerKind::None; }

QWidget* OpenViewerFrame(const QString& path, ShellContext& ctx) {
  const std::string file = QFile::encodeName(path).toStdString();
  try {
    switch (KindOf(path)) {
      case ViewerKind::Font: return OpenFont(file, path, ctx);
      case ViewerKind::Image: return OpenImage(file, path, ctx);
      case ViewerKind::Task: return OpenTask(file, path, ctx);
      case ViewerKind::PatchFile:
      case ViewerKind::JobSourceFile:
      case ViewerKind::FormSourceFile:
      case ViewerKind::CommandFile: return OpenSource(file, path, ctx);
      case ViewerKind::None: break;
    }
  } catch (const std::bad_alloc&) {
    ctx.ui->ReportError(ERR_NOT_ENOUGH_MEMORY);
  }
  return nullptr;
}

CImgView* ImageViewOf(QWidget* child) {
  auto* frame = qobject_cast<CImgFrame*>(child);
  return frame ? frame->View() : nullptr;
}

void AddViewerCommandContext(QWidget* child, CommandContext& c) {
  CImgView* view = ImageViewOf(child);
  c.image_viewer_active = view != nullptr;
  c.image_zoom_at_top = view && !view->CanZoomIn();
  c.image_zoom_at_bottom = view && !view->CanZoomOut();
}

bool RunViewerCommand(QWidget* child, Cmd cmd) {
  CImgView* view = ImageViewOf(child);
  if (!view) return false;
  switch (cmd) {
    case Cmd::ZoomIn: view->ZoomIn(); return true;
    case Cmd::ZoomOut: view->ZoomOut(); return true;
    case Cmd::Rotate: view->Rotate(); return true;
    default: return false;
  }
}

}  // namespace kelvo::gui
