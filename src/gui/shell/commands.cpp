#include "gui/shell/commands.h"

namespace kelvo::gui {

namespace {

bool IsTapeCommand(Cmd cmd) { return cmd >= Cmd::TapeList && cmd <= Cmd::TapeDriveInfo; }

}  // namespace

bool CommandAvailable(Cmd) {
  // Every command's window is part of this version: its rule alone decides.
  return true;
}

bool IsCommandEnabled(Cmd cmd, const CommandContext& ctx) {
  return CommandAvailable(cmd) && CommandRule(cmd, ctx);
}

bool CommandRule(Cmd cmd, const CommandContext& ctx) {
  if (IsTapeCommand(cmd)) return ctx.tape_present && !ctx.tape_busy;
  const bool explorer = ctx.explorer_kind.has_value();
  switch (cmd) {
    case Cmd::Delete:
    case Cmd::SaveFileList:
    case Cmd::SelectAll:
    case Cmd::Refresh:
    case Cmd::LargeIcons:
    case Cmd::SmallIcons:
    case Cmd::List:
    case Cmd::Details:
    case Cmd::ByName:
    case Cmd::ByType:
    case Cmd::BySize:
    case Cmd::ByDate:
      return explorer;
    case Cmd::Print:
      return explorer && ctx.list_printable;
    case Cmd::Rename:
      return explorer && *ctx.explorer_kind != PlaceKind::Tape;
    case Cmd::Properties:
      return explorer && *ctx.explorer_kind != PlaceKind::PcFolder;
    case Cmd::LabelDisk:
      return explorer && *ctx.explorer_kind == PlaceKind::Floppy;
    case Cmd::ZoomIn:
      return ctx.image_viewer_active && !ctx.image_zoom_at_top;
    case Cmd::ZoomOut:
      return ctx.image_viewer_active && !ctx.image_zoom_at_bottom;
    case Cmd::Rotate:
      return ctx.image_viewer_active;
    case Cmd::Save:
      return ctx.document_modified;
    case Cmd::SaveAs:
      return explorer && *ctx.explorer_kind == PlaceKind::DiskImage;
    default:
      return true;
  }
}

}  // namespace kelvo::gui
