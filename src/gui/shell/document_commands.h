// The main window's document and listing commands: New, Open, Save and
// Save As of disk images, the file viewers, printing and saving file lists,
// Preferences. Files opened and saved join the recent-file list.
#pragma once

#include <QObject>
#include <QString>

#include "gui/shell/shell_host.h"

namespace kelvo::gui {

class CDiskImageWindow;
class CRecentFiles;

class CDocumentCommands : public QObject {
  Q_OBJECT
 public:
  CDocumentCommands(const ShellHost& host, CRecentFiles& recent);

  // Opens a file as a document of the type its extension names.
  bool OpenDocument(const QString& path);
  void OpenWithDialog();
  void NewDocument();
  // Saves an image window's document, asking for a name when it has none
  // or `save_as` is set; false when nothing was saved.
  bool SaveImage(CDiskImageWindow* window, bool save_as);
  // Saves the active image window's document.
  void SaveActive(bool save_as);
  void PrintSetup();
  void PrintFileList();
  void SaveFileList();
  // Writes the listing of the active explorer window to `path`.
  bool SaveFileListTo(const QString& path);
  void ShowPreferences();

 private:
  void AddImageWindow(CDiskImageWindow* window);
  void AddRecentFile(const QString& path, bool disk_image);

  ShellContext& ctx_;
  CWindowManager& windows_;
  QWidget* parent_;
  CRecentFiles& recent_;
  int new_documents_ = 0;
};

}  // namespace kelvo::gui
