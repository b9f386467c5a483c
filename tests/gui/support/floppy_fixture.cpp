#include "support/floppy_fixture.h"

#include <QFile>
#include <QTemporaryDir>

#include "diskfs/floppy_listing.h"
#include "filetypes/file_names.h"
#include "gui/windows/floppy_window.h"
#include "support/floppy_media.h"

namespace kelvo::gui::test {

const std::vector<ImageFile> kTwoFiles = {{"REP", "ORT", "FNT", 3}, {"A", "", "JSL", 1}};

FloppyShell::FloppyShell(DriveB drive_b, bool disk_in_a)
    : a(dir.filePath(QStringLiteral("a.img"))), b(dir.filePath(QStringLiteral("b.img"))) {
  std::vector<PresentDevice> devices = {EmulatedDrive(QStringLiteral("A:"), a)};
  if (drive_b != DriveB::None)
    devices.push_back(EmulatedDrive(QStringLiteral("B:"), b, drive_b == DriveB::FiveAndQuarter));
  const bool written = !disk_in_a || MakeFloppyMedium(a, kTwoFiles);
  shell = std::make_unique<Shell>(devices);
  pc = shell->Start(dir.path());
  ok = written && pc != nullptr;
}

CFloppyWindow* FloppyShell::OpenA() {
  return shell->frame->Floppies().OpenFloppyWindow(shell->frame->Devices()[0]);
}

PresentDevice EmulatedDrive(const QString& letter, const QString& medium, bool five_inch) {
  QString device = QStringLiteral("emu:") + medium;
  if (five_inch) device += QStringLiteral(",form=5.25");
  return {letter, device, false, !five_inch};
}

bool MakeFloppyMedium(const QString& path, const std::vector<ImageFile>& files) {
  QTemporaryDir scratch;
  const QString image = scratch.filePath(QStringLiteral("disk.kdi"));
  if (!MakeImage(image, files)) return false;
  const std::vector<std::uint8_t> disk = kelvo::test::ReadBytes(QFile::encodeName(image).toStdString());
  if (disk.empty()) return false;
  kelvo::test::WriteDiskOnMedium(QFile::encodeName(path).toStdString(), 9, disk);
  return QFile(path).size() == static_cast<qint64>(kelvo::test::MediumBytes(9));
}

QStringList MediumNames(const QString& medium, QString* disk_id) {
  CFloppyDrive drive("A:", kelvo::test::MakeEmulatedFloppy(QFile::encodeName(medium).toStdString(), false));
  DiskListing listing;
  QStringList out;
  if (ListFloppy(drive, listing) != 0) return {QStringLiteral("<unreadable>")};
  for (const ListedFile& f : listing.files)
    if (!IsSystemFileName(f.name)) out << QString::fromStdString(DisplayName(f.name));
  out.sort();
  if (disk_id) *disk_id = QString::fromStdString(listing.disk_id);
  return out;
}

}  // namespace kelvo::gui::test
