// Drops on explorer windows and on device buttons.
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "gui/drag_payload.h"
#include "gui/explorer_window.h"
#include "gui/main_frame.h"
#include "gui/pc_explorer.h"
#include "gui/transfer_bridge.h"

namespace kelvo::gui {
namespace {

// The source of a drop: from the "KelvoFileList" block when the drag started
// in one of our windows, else from the files of a text/uri-list.
bool SourceOf(const CMainFrame& frame, const QMimeData* data, CChildFrameWindow** window,
              TransferRequest& r) {
  *window = nullptr;
  if (data->hasFormat(QString::fromLatin1(kFileListMimeType))) {
    const auto p = DecodeFileList(data->data(QString::fromLatin1(kFileListMimeType)));
    if (!p || p->kind < 0 || p->kind > 3) return false;
    // The window reference is trusted only when it names a window still open.
    for (CChildFrameWindow* ex : frame.Explorers())
      if (reinterpret_cast<quintptr>(ex) == p->window) *window = ex;
    if (!*window) return false;
    r.source_kind = static_cast<PlaceKind>(p->kind);
    CPcExplorerWindow* pc = frame.PcExplorer();
    r.source = r.source_kind == PlaceKind::PcFolder && pc ? pc->PlaceText() : (*window)->PlaceText();
    r.names = frame.Context().TransferSelection();
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

void CMainFrame::HandleDrop(CChildFrameWindow* target, const QMimeData* data) {
  TransferRequest r;
  CChildFrameWindow* source = nullptr;
  if (!target || !data || !SourceOf(*this, data, &source, r)) return;
  if (source == target) return;  // a drop on the window the drag came from
  r.destination = target->PlaceText();
  r.destination_kind = target->Kind();
  const ErrorCode code = TransferFiles(*this, r);
  if (target->Kind() == PlaceKind::Tape) return;  // a tape window ignores the result
  if (code != 0) ctx_.ui->ReportError(code);
  else target->Refresh();
}

void CMainFrame::HandleDeviceDrop(const DeviceEntry& device, const QMimeData* data) {
  TransferRequest r;
  CChildFrameWindow* source = nullptr;
  if (!data || !SourceOf(*this, data, &source, r)) return;
  r.destination_kind = device.tape ? PlaceKind::Tape : PlaceKind::Floppy;
  CChildFrameWindow* open = nullptr;
  for (CChildFrameWindow* ex : Explorers())
    if (ex->Kind() == r.destination_kind && ex->PlaceText().endsWith(device.name + "\\", Qt::CaseInsensitive))
      open = ex;
  r.destination = open ? open->PlaceText() : FloppyPlaceText(device);
  if (device.tape) r.destination = device.name;
  const ErrorCode code = TransferFiles(*this, r);
  if (device.tape) return;
  if (code != 0) ctx_.ui->ReportError(code);
  else if (open) open->Refresh();
}

}  // namespace kelvo::gui
