// The main window's commands and the rule that enables each of them.
#pragma once

#include <optional>

#include "transfer/place_kind.h"

namespace kelvo::gui {

enum class Cmd {
  New, Open, Save, SaveAs, Close, CloseAll, Delete, Rename, Properties, Print, PrintSetup, SaveFileList,
  SelectAll, Refresh, AllFileTypes, LargeIcons, SmallIcons, List, Details,
  ByName, ByType, BySize, ByDate, ZoomIn, ZoomOut, Rotate,
  CopyDisk, LabelDisk, FormatDisk, DiskDriveInfo,
  // The tape commands stay together, TapeList first and TapeDriveInfo last.
  TapeList, TapeRestore, TapeInit, TapeErase, TapeLoad, TapeUnload, TapeRewind, TapeRetension,
  TapeSaveImage, TapeWriteImage, TapeDriveInfo, RetainTapeLabels, Preferences, About, Exit,
};

// Everything the enabling rule looks at.
struct CommandContext {
  std::optional<PlaceKind> explorer_kind;  // set when the active child is an explorer window
  bool image_viewer_active = false;        // an image viewer window is active
  bool image_zoom_at_top = false;          // its zoom is 100 (or its largest): no Zoom In
  bool image_zoom_at_bottom = false;       // its zoom is 10 (or its least): no Zoom Out
  bool document_modified = false;          // the active document (source, disk image) has unsaved changes
  bool list_printable = true;              // the active explorer's list can be printed
  bool tape_present = false;               // any tape drive in the device table
  bool tape_busy = false;                  // a tape operation runs
};

// Commands whose work lives in pieces of the program this build does not
// have yet; they stay greyed whatever the context says.
bool CommandAvailable(Cmd cmd);

// The condition under which `cmd` is enabled, for a program that has all of
// its parts.
bool CommandRule(Cmd cmd, const CommandContext& ctx);

// Whether `cmd` is enabled in `ctx` in this build (greyed otherwise).
bool IsCommandEnabled(Cmd cmd, const CommandContext& ctx);

}  // namespace kelvo::gui
