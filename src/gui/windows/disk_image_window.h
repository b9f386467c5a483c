// The window of an open disk image (place kind 3): the directory tree and the
// files of the printer disk held in the image. Changes stay in memory until
// the image is saved; saving replaces the file atomically.
#pragma once

#include <memory>

#include "gui/windows/kelvo_disk_window.h"
#include "diskfs/disk_image_doc.h"

namespace kelvo::gui {

class CDiskImageWindow : public CKelvoDiskWindow {
  Q_OBJECT
 public:
  // Takes an opened (or new) document; `path` is empty for a new image.
  CDiskImageWindow(ShellContext& ctx, std::unique_ptr<CDiskImageDoc> doc, const QString& path,
                   const QString& title, QWidget* parent = nullptr);

  QString PlaceText() const override { return title_; }
  QString ListingHeadingText() const override;
  void Refresh() override;
  bool Modified() const override { return doc_->IsModified(); }
  // Asks "Save changes to ...?" when the image has unsaved changes.
  bool ConfirmClose() override;

  QString Path() const { return path_; }
  CDiskImageDoc& Document() { return *doc_; }
  // Writes the image to `path` (atomically) and makes it the window's file.
  ErrorCode SaveTo(const QString& path);
  // Saves before closing (Save or Save As); false when nothing was saved.
  std::function<bool()> save_handler;

 protected:
  ErrorCode DoDelete(const QStringList& names) override;
  ErrorCode DoRename(const QString& old_name, const QString& new_name) override;

 private:
  void UpdateTitle();

  std::unique_ptr<CDiskImageDoc> doc_;
  QString path_;
  QString title_;
};

}  // namespace kelvo::gui
