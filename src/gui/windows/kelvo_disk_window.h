// CKelvoDiskWindow: what the windows of printer disks share, whether the
// disk is in a floppy drive (place kind 1) or held in an image (kind 3): the
// directory tree, the list of a disk listing with its captions, and the
// Properties dialog of the selected file.
#pragma once

#include "diskfs/listing.h"
#include "gui/windows/child_frame_window.h"

namespace kelvo::gui {

class CKelvoDirectoryView;

class CKelvoDiskWindow : public CChildFrameWindow {
  Q_OBJECT
 public:
  CKelvoDiskWindow(ShellContext& ctx, PlaceKind kind, QWidget* parent = nullptr);

  void ShowProperties() override;
  const DiskListing& LastListing() const { return listing_; }
  CKelvoDirectoryView* Tree() const { return tree_; }

 protected:
  // Lists the files of `listing` (never the two system files) with the
  // captions "Contents of '<place>'", "%d File(s)" and the free space.
  void ShowListing(DiskListing listing, const QString& place);

 private:
  DiskListing listing_;
  CKelvoDirectoryView* tree_;
};

}  // namespace kelvo::gui
