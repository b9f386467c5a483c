// Emulated floppy drives for the kdisk floppy tests: device entries over
// medium files, printer disks written onto media, and the engine's view of
// what a medium holds.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "gui/windows/device_list.h"
#include "support/gui_fixture.h"

namespace kelvo::gui {
class CFloppyWindow;
}

namespace kelvo::gui::test {

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

}  // namespace kelvo::gui::test
