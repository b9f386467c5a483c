#include "gui/transfer_bridge.h"

#include "gui/main_frame.h"

namespace kelvo::gui {
namespace {

ErrorCode NotImplemented(Interaction& ui) {
  ui.Beep(BeepKind::Information);
  ui.Ask("Function Not Yet Implemented", kAppTitle, Buttons::Ok, Icon::Information);
  return 0;
}

}  // namespace

ErrorCode TransferFiles(CMainFrame& frame, const TransferRequest& r) {
  Interaction& ui = *frame.Context().ui;
  ui.PumpMessages();
  using K = PlaceKind;
  const K s = r.source_kind;
  const K d = r.destination_kind;
  // Pairs with nothing to do.
  if ((s == K::PcFolder && d == K::PcFolder) || (s == K::DiskImage && d == K::Tape)) return 0;
  // UNFINISHED: every other pair needs the transfer engine; until it is merged
  // they answer like the pairs that have no routine.
  return NotImplemented(ui);
}

}  // namespace kelvo::gui
