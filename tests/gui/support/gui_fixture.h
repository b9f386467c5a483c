// A kdisk main window for tests: scripted answers instead of message boxes,
// the modal poller, default settings, emulated floppy drives, and small
// makers of files, disk images and viewer files.
#pragma once

#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "gui/shell/kdisk_app.h"
#include "gui/shell/main_frame.h"
#include "gui/shell/shell_context.h"
#include "settings_store/qt_settings_store.h"
#include "support/modal_script.h"
#include "support/scripted_interaction.h"
#include "support/viewer_image_builder.h"

namespace kelvo::gui {
class CDiskImageWindow;
class CFloppyWindow;
}

namespace kelvo::gui::test {

// Puts the working folder back when it goes (kdisk starts in the working
// folder; a test that moves it into a temporary folder must not leave it
// there once that folder is deleted).
struct KeepWorkingFolder {
  QString was = QDir::currentPath();
  ~KeepWorkingFolder() { QDir::setCurrent(was); }
};

struct Shell {
  KeepWorkingFolder keep;  // the PC window moves the working folder to the folder it shows
  kelvo::test::ScriptedInteraction ui;
  ModalScript modals;  // fails the test on any modal dialog it did not expect
  ShellContext ctx;
  std::unique_ptr<CMainFrame> frame;

  explicit Shell(std::vector<PresentDevice> devices = {});
  // Opens and shows the main window with its PC window on `folder`.
  CPcExplorerWindow* Start(const QString& folder);
};

// A kdisk run as the program makes it: start-up on the settings file `ini`,
// the main window, and the end that writes the settings back.
struct KdiskRun {
  KeepWorkingFolder keep;
  kelvo::CQtSettingsStore store;
  kelvo::test::ScriptedInteraction ui;
  ModalScript modals;
  ShellContext ctx;
  std::unique_ptr<CMainFrame> frame;

  explicit KdiskRun(const QString& ini);
  // Starts with the trace log in `root` and no floppy driver under it
  // (warned about unless `warn` is false); false when no main window came.
  bool Start(const QString& root, const CommandLine& cmd = {}, bool warn = true,
             const QString& recently_used_xbel = {});
  void End() { EndKdisk(ctx, store, std::move(frame)); }
};

// The widget of the active child window as a `T`, or null.
template <class T>
T* ActiveChild(const CMainFrame& frame) {
  QMdiSubWindow* sub = frame.MdiArea()->activeSubWindow();
  return sub ? qobject_cast<T*>(sub->widget()) : nullptr;
}

// Opens `path` in the shell's main window; its image window, or null.
CDiskImageWindow* OpenImage(Shell& shell, const QString& path);

// Writes `bytes` to folder/name and returns its path.
QString WriteFile(const QString& folder, const QString& name, const QByteArray& bytes);
// Creates `names` (with `size` bytes each) in `folder`.
void MakeFiles(const QString& folder, const QStringList& names, int size = 10);
QByteArray ReadAll(const QString& path);
// Selects `names` in `from` and makes the data its list would drag.
std::unique_ptr<QMimeData> DragFrom(CChildFrameWindow* from, const QStringList& names);
// The names an explorer window lists, in list order.
QStringList Names(const CChildFrameWindow* window);
QStringList Sorted(QStringList names);

// A file of a printer disk image: name characters 1-3 and 4-6, type, and
// its size in 512-byte blocks of 'A'.
struct ImageFile {
  const char* first;
  const char* second;
  const char* type;
  int blocks;
};
// Writes a new image holding `files` to `path`; false when that failed.
bool MakeImage(const QString& path, const std::vector<ImageFile>& files);

// A floppy drive entry `letter` ("A:") bound to the emulated drive over
// `medium` (a 3.5-inch drive unless `five_inch`).
PresentDevice EmulatedDrive(const QString& letter, const QString& medium, bool five_inch = false);
// Writes a 720 KB printer disk holding `files` as the raw medium `path`;
// false when that failed.
bool MakeFloppyMedium(const QString& path, const std::vector<ImageFile>& files);
// What the printer disk on `medium` holds, as the engine lists it: the
// display names, sorted; the disk ID goes to `disk_id` when given.
QStringList MediumNames(const QString& medium, QString* disk_id = nullptr);
// The standard test disk: "Report.fnt" (3 blocks of 'A') and "A.jsl".
extern const std::vector<ImageFile> kTwoFiles;

enum class DriveB { None, ThreeAndHalf, FiveAndQuarter };

// A started main window whose drive A: (3.5-inch) holds the standard test
// disk (or no medium), with drive B: (no medium) as asked; the PC window
// shows the temporary folder.
struct FloppyShell {
  QTemporaryDir dir;
  QString a;  // the media files of A: and B:
  QString b;
  std::unique_ptr<Shell> shell;
  CPcExplorerWindow* pc = nullptr;
  bool ok = false;  // the disk was written and the window shown

  explicit FloppyShell(DriveB drive_b = DriveB::None, bool disk_in_a = true);
  // Opens the window of drive A:.
  CFloppyWindow* OpenA();
};

// An image file `dots` wide and `lines` high whose ink fills the block of
// the first `ink_dots` dots of the first `ink_lines` lines; the header comes
// from `header` (its size and raster are filled in).
std::string BlockImageFile(int dots, int lines, int ink_dots, int ink_lines,
                           kelvo::test::ImageFileSpec header = {});
// A font of `orientation` with a solid glyph for "A" (code 65, 16 dots by
// 8 rows) and none for "B".
std::string FontWithA(char orientation = 'P');

// Writes folder/name, opens it in `frame` and returns its window as a `T`
// (null when it did not open as one).
template <class T>
T* OpenViewer(CMainFrame& frame, const QString& folder, const QString& name,
              const std::string& bytes) {
  if (!frame.OpenDocument(WriteFile(folder, name, QByteArray::fromStdString(bytes)))) return nullptr;
  return ActiveChild<T>(frame);
}

}  // namespace kelvo::gui::test
