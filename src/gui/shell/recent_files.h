// The File menu's list of the four files opened or saved last, kept in the
// settings store between runs ("Recent File 1" ... "Recent File 4"), and
// the desktop's recently-used list that opened and saved files also join.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

#include "app/key_value_store.h"

class QMenu;

namespace kelvo::gui {

inline constexpr int kRecentFileCount = 4;

// The stored list, newest first; missing and empty values are passed over.
QStringList LoadRecentFileList(const CKeyValueStore& store);
// Stores `files` (at most four); the values of unused places are emptied.
void SaveRecentFileList(const QStringList& files, CKeyValueStore& store);

class CRecentFiles : public QObject {
  Q_OBJECT
 public:
  // Opens a file chosen from the menu; false when it could not be opened.
  using Opener = std::function<bool(const QString& path)>;

  void SetOpener(Opener opener) { open_ = std::move(opener); }
  // The File menu's "Recent Files" submenu this list fills.
  void AttachMenu(QMenu* menu);
  QStringList Files() const { return recent_files_; }
  // Puts back the recent-file list kept in the settings store.
  void SetFiles(const QStringList& files);
  // The desktop's recently-used list that opened and saved files are also
  // added to (empty: none).
  void SetDesktopList(const QString& xbel_path) { desktop_recent_list_ = xbel_path; }
  // Adds a file opened or saved; `disk_image` when it was opened as one.
  void Add(const QString& path, bool disk_image);

 private:
  void RebuildRecentMenu();

  Opener open_;
  QStringList recent_files_;
  QMenu* recent_menu_ = nullptr;
  QString desktop_recent_list_;
};

}  // namespace kelvo::gui
