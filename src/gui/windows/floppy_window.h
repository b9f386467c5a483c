// The window of a printer floppy in a PC drive (place kind 1): the directory
// tree and the files of the disk, read from the drive each time the window
// is refreshed. Every change goes to the disk at once.
#pragma once

#include "gui/windows/device_list.h"
#include "gui/windows/kelvo_disk_window.h"

namespace kelvo::gui {

class CFloppyWindow : public CKelvoDiskWindow {
  Q_OBJECT
 public:
  // Opens the window and lists the disk in the drive of `device`.
  CFloppyWindow(ShellContext& ctx, const PresentDevice& device, QWidget* parent = nullptr);

  // "Floppy Drive A:": the window title, and the place text a transfer takes
  // the drive letter from.
  QString PlaceText() const override { return FloppyPlaceText(device_); }
  QString ListingHeadingText() const override;
  // Reads the disk again (not while a read of it runs). A failure is shown
  // with Retry where the error offers it; a disk that is not a printer disk
  // offers the Format dialog.
  void Refresh() override;

  const PresentDevice& Device() const { return device_; }
  // Whether the last refresh read the disk, and the disk ID it found.
  bool Listed() const { return listed_; }
  QString DiskId() const { return Q(LastListing().disk_id); }

 Q_SIGNALS:
  // The user agreed to format the disk in this window's drive.
  void formatRequested(const QString& drive_name);

 protected:
  ErrorCode DoDelete(const QStringList& names) override;
  ErrorCode DoRename(const QString& old_name, const QString& new_name) override;

 private:
  // Lists the disk once; the error of the drive, else 0.
  ErrorCode ReadDisk(DiskListing& listing);

  PresentDevice device_;
  bool listed_ = false;
};

}  // namespace kelvo::gui
