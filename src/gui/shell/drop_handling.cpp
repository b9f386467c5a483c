#include "gui/shell/drop_handling.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QUrl>

#include "gui/shell/drag_export.h"
#include "gui/shell/drag_payload.h"
#include "gui/windows/child_frame_window.h"
#include "gui/windows/floppy_window.h"
#include "gui/shell/window_manager.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/windows/tape_window.h"
#include "gui/shell/transfer_bridge.h"
#include "transfer/transfer_engine.h"

namespace kelvo::gui {
namespace {

// The source of a drop: from the "KelvoFileList" block when the drag started
// in one of our windows, else from the files of a text/uri-list.
bool SourceOf(const ShellHost& host, const QMimeData* data, CChildFrameWindow** window,
              TransferRequest& r) {
  *window = nullptr;
  if (data->hasFormat(QString::fromLatin1(kFileListMimeType))) {
    const auto p = DecodeFileList(data->data(QString::fromLatin1(kFileListMimeType)));
    if (!p || p->kind < 0 || p->kind > 3) return false;
    // The window reference is trusted only when it names a window still open.
    for (CChildFrameWindow* ex : host.windows.Explorers())
      if (reinterpret_cast<quintptr>(ex) == p->window) *window = ex;
    if (!*window) return false;
    r.source_kind = static_cast<PlaceKind>(p->kind);
    CPcExplorerWindow* pc = host.windows.PcExplorer();
    r.source = r.source_kind == PlaceKind::PcFolder && pc ? pc->PlaceText() : (*window)->PlaceText();
    r.names = host.ctx.TransferSelection();
    return !r.names.isEmpty();
  }
  if (!data->hasUrls()) return false;
  r.source_kind = PlaceKind::PcFolder;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QFileInfo info(url.toLocalFile());
    if (!info.isFile()) continue;
    if (r.source.isEmpty()) r.source = info.absolutePath();
    if (info.absolutePath() != r.source) continue;  // one folder per transfer
    r.names << info.fileName();
  }
  return !r.names.isEmpty();
}

}  // namespace

CDropHandler::CDropHandler(const ShellHost& host)
    : host_(host), ctx_(host.ctx), drag_folders_(std::make_unique<CDragExportFolders>()) {}

CDropHandler::~CDropHandler() = default;

void CDropHandler::HandleDrop(CChildFrameWindow* target, const QMimeData* data) {
  TransferRequest r;
  CChildFrameWindow* source = nullptr;
  if (!target || !data || !SourceOf(host_, data, &source, r)) return;
  if (source == target) return;  // a drop on the window the drag came from
  r.destination = target->PlaceText();
  r.destination_kind = target->Kind();
  r.source_window = source;
  r.destination_window = target;
  FinishDrop(target, r);
}

void CDropHandler::HandleDeviceDrop(const PresentDevice& device, const QMimeData* data) {
  TransferRequest r;
  CChildFrameWindow* source = nullptr;
  if (!data || !SourceOf(host_, data, &source, r)) return;
  r.source_window = source;
  r.destination_kind = device.tape ? PlaceKind::Tape : PlaceKind::Floppy;
  CChildFrameWindow* open = nullptr;
  if (device.tape) open = FindTapeWindow(host_.windows, device.name);
  else open = host_.windows.FindFloppyWindow(device.name);
  r.destination = device.tape ? device.name : FloppyPlaceText(device);
  r.destination_window = open;
  FinishDrop(open, r);
}

void CDropHandler::FinishDrop(CChildFrameWindow* destination, const TransferRequest& r) {
  const QPointer<CChildFrameWindow> window(destination);
  TransferReport report;
  const ErrorCode code = TransferBetweenWindows(host_, r, &report);
  // A drop on a tape ignores the result.
  if (r.destination_kind == PlaceKind::Tape) return;
  if (code != 0) ctx_.ui->ReportError(code);
  // The destination lists what arrived, also when the transfer stopped
  // part-way; a place that could not be reached at all is not asked again.
  if (window && (code == 0 || report.copied > 0)) window->Refresh();
}

QList<QUrl> CDropHandler::ExportForDrag(CChildFrameWindow* window, const QStringList& names) {
  const QString folder = drag_folders_->NewFolder();
  if (folder.isEmpty()) {
    ctx_.ui->ReportError(ERR_ACCESS_DENIED);
    return {};
  }
  TransferRequest r{window->PlaceText(), window->Kind(), folder, PlaceKind::PcFolder, names,
                    window, nullptr};
  const ErrorCode code = TransferBetweenWindows(host_, r);
  if (code != 0) ctx_.ui->ReportError(code);
  // The files that arrived: a failed export stops at the failing file.
  QList<QUrl> urls;
  const QDir dir(folder);
  for (const QString& name : names)
    if (QFileInfo(dir.filePath(name)).isFile()) urls << QUrl::fromLocalFile(dir.filePath(name));
  return urls;
}

}  // namespace kelvo::gui
