// Drag and drop in the main window: drops on explorer windows and on device
// buttons run a transfer into the place dropped on, and drags out to the
// desktop export the dragged files into private folders.
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <memory>

#include "gui/shell/shell_host.h"

class QMimeData;

namespace kelvo::gui {

class CChildFrameWindow;
class CDragExportFolders;
struct TransferRequest;

class CDropHandler : public QObject {
  Q_OBJECT
 public:
  explicit CDropHandler(const ShellHost& host);
  ~CDropHandler() override;

  // Handles a drop of `data` on `target` (the window dropped on).
  void HandleDrop(CChildFrameWindow* target, const QMimeData* data);
  // Handles a drop on the device button of `device`.
  void HandleDeviceDrop(const PresentDevice& device, const QMimeData* data);
  // Exports `names` of `window`'s place into a new private folder for a drag
  // out to the desktop; the URLs of the files written.
  QList<QUrl> ExportForDrag(CChildFrameWindow* window, const QStringList& names);

 private:
  // Runs a dropped transfer and brings its open destination window up to date.
  void FinishDrop(CChildFrameWindow* destination, const TransferRequest& r);

  ShellHost host_;
  ShellContext& ctx_;
  std::unique_ptr<CDragExportFolders> drag_folders_;
};

}  // namespace kelvo::gui
