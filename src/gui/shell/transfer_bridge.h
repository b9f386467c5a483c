// Hands a transfer between two places to the engine: the source and
// destination place texts and kinds, their open windows and the names of the
// transfer selection.
#pragma once

#include <QString>
#include <QStringList>

#include "transfer/place_kind.h"
#include "gui/shell/shell_context.h"
#include "core/error_codes.h"

namespace kelvo {
struct TransferReport;
}

namespace kelvo::gui {

struct ShellHost;
class CChildFrameWindow;

struct TransferRequest {
  QString source;
  PlaceKind source_kind;
  QString destination;
  PlaceKind destination_kind;
  QStringList names;
  // The open windows of the two places (null: none). The transfer reaches
  // them by these references, never by their titles.
  CChildFrameWindow* source_window = nullptr;
  CChildFrameWindow* destination_window = nullptr;
};

// Runs the transfer; 0 when it ended normally or its failure was shown.
// While it runs the copy-in-progress flag is set, another transfer is
// refused, and the two windows are busy (they refuse to close). What the
// transfer did goes to `report` when given.
ErrorCode TransferBetweenWindows(const ShellHost& host, const TransferRequest& request,
                        TransferReport* report = nullptr);

}  // namespace kelvo::gui
