// Places of a transfer and the open windows that show them.
//
// A place is named by its text: a PC folder by its path, a floppy drive by a
// text ending with the drive ("A:", "A:\" or "A:/"), a disk image by the
// title of its window, a tape drive by its name ("Tape0") or device string.
// The open windows of the source and the destination are handed to the
// engine by the caller (TransferWindows), never looked up by their text: two
// images of the same file name in two folders show the same title. The
// engine keeps the destination window in step with what it writes through
// CPlaceWindow; the desktop program implements it with its list views, the
// command line with the documents of the images it opened.
#pragma once

#include <string>
#include <string_view>

#include "diskfs/on_disk.h"
#include "transfer/place_kind.h"

namespace kelvo {

class CDiskImageDoc;

// An open window showing a place.
class CPlaceWindow {
 public:
  virtual ~CPlaceWindow() = default;
  // Drops the list entry of `name` (NAME.TYP or a PC file name), if listed.
  virtual void DropEntry(std::string_view name) = 0;
  // Adds the list entry of a file just written: its name as the list shows
  // it and, for printer disks, its directory entry.
  virtual void AddEntry(std::string_view name, const FileEntry* entry) = 0;
  // The document of a disk image window; null for other places.
  virtual CDiskImageDoc* Document() { return nullptr; }
};

// The open windows of a transfer's two places (null: not open; not owned).
// A disk image place must have its window: its document is the image.
struct TransferWindows {
  CPlaceWindow* source = nullptr;
  CPlaceWindow* destination = nullptr;
};

// The drive letter ('A' to 'Z', upper case) named by the end of a floppy
// place text ("A:", "A:\", "a:/", "Floppy (B:)\" ...), or 0 when the text
// names no drive.
char FloppyLetterOfPlace(std::string_view place_text);

// `folder` with a separator at its end ("/" unless it already ends with "/"
// or "\").
std::string FolderText(std::string_view folder);

}  // namespace kelvo
