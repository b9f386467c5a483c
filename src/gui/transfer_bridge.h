// Hands a transfer between two places to the engine: the source and
// destination place texts and kinds and the names of the transfer selection.
#pragma once

#include <QString>
#include <QStringList>

#include "gui/place_kind.h"
#include "gui/shell_context.h"
#include "core/error_codes.h"

namespace kelvo::gui {

class CMainFrame;

struct TransferRequest {
  QString source;
  PlaceKind source_kind;
  QString destination;
  PlaceKind destination_kind;
  QStringList names;
};

// Runs the transfer; 0 when it ended normally or its failure was shown.
ErrorCode TransferFiles(CMainFrame& frame, const TransferRequest& request);

}  // namespace kelvo::gui
