// The places of a transfer, as the engine reaches them.
//
// A place is handed to the engine by identity (TransferPlace): its kind, its
// text, and for a disk image the document that is the image. A PC folder is
// named by its path, a floppy drive by a text ending with the drive ("A:",
// "A:\" or "A:/"), a tape drive by its name ("Tape0") or device string; a
// disk image by its document, its text being only what the "Copy Files"
// window shows. Nothing is looked up by its text: two images of the same
// file name in two folders show the same title.
//
// A front end that shows the places in windows hands their views over too
// (TransferViews), and the engine keeps the destination's list in step with
// what it writes or deletes through CPlaceView. The command line has none.
#pragma once

#include <string>
#include <string_view>

#include "core/error_codes.h"
#include "diskfs/disk_image_doc.h"
#include "diskfs/on_disk.h"
#include "transfer/place_kind.h"

namespace kelvo {

// A place of a transfer. A floppy is reached through the services' drive
// maker, a tape through the tape bindings, a PC folder by its path; a disk
// image place without its document cannot be used (the transfer ends with
// ERR_INVALID_HANDLE).
struct TransferPlace {
  PlaceKind kind = PlaceKind::PcFolder;
  std::string text;
  CDiskImageDoc* document = nullptr;  // the image of a disk image place (not owned)
};

// An open image: the transfer reads and writes `document`; saving it is the
// holder's business.
TransferPlace ImagePlace(CDiskImageDoc& document, std::string title);

// A disk image file opened for one transfer and saved after it when the
// transfer changed it.
class CImageFilePlace {
 public:
  explicit CImageFilePlace(std::string path) : path_(std::move(path)) {}
  ErrorCode Open() { return doc_.OnOpenDocument(path_); }
  // Writes the image back (temporary file, then rename) if it was changed.
  ErrorCode SaveIfModified() { return doc_.IsModified() ? doc_.OnSaveDocument(path_) : ERR_OK; }
  TransferPlace Place() { return ImagePlace(doc_, path_); }

 private:
  std::string path_;
  CDiskImageDoc doc_;
};

// The open view (list window) of a place.
class CPlaceView {
 public:
  virtual ~CPlaceView() = default;
  // Drops the list entry of `name` (NAME.TYP or a PC file name), if listed.
  virtual void DropEntry(std::string_view name) = 0;
  // Adds the list entry of a file just written: its name as the list shows
  // it and, for printer disks, its directory entry.
  virtual void AddEntry(std::string_view name, const FileEntry* entry) = 0;
};

// The open views of a transfer's two places (null: not shown; not owned).
struct TransferViews {
  CPlaceView* source = nullptr;
  CPlaceView* destination = nullptr;
};

// The drive letter ('A' to 'Z', upper case) named by the end of a floppy
// place text ("A:", "A:\", "a:/", "Floppy (B:)\" ...), or 0 when the text
// names no drive.
char FloppyLetterOfPlace(std::string_view place_text);

// `folder` with a separator at its end ("/" unless it already ends with "/"
// or "\").
std::string FolderText(std::string_view folder);

}  // namespace kelvo
