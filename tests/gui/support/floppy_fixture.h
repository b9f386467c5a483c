// Emulated floppy drives for the kdisk floppy tests: device entries over
// medium files, printer disks written onto media, and the engine's view of
// what a medium holds.
#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "gui/windows/device_list.h"
#include "support/gui_fixture.h"
#include "support/image_builder.h"

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
QStringList MediumNames(const QString& medium, QString* disk_id = nullptr, bool five_inch = false);

// The files of the standard test disk: "Report.fnt" (3 blocks of 'A') and
// "A.jsl" (1 block).
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

// Runs `act` on the next modal dialog of type T as soon as it is shown
// (polled from the event loop, so it works inside the dialog's exec()).
// Another modal window still up after 5 seconds (a box nobody expected) is
// reported and closed, so that the test fails on what it checks instead of
// waiting for ever.
template <typename T>
void WhenModal(std::function<void(T*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  auto ticks = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, act, ticks] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* dialog = qobject_cast<T*>(modal)) {
      timer->stop();
      timer->deleteLater();
      act(dialog);
      return;
    }
    if (modal && ++*ticks > 500) {
      qWarning("Closing an unexpected modal window: %s \"%s\"", modal->metaObject()->className(),
               qPrintable(modal->windowTitle()));
      *ticks = 0;
      modal->close();
    }
  });
  timer->start();
}

}  // namespace kelvo::gui::test
