#include "support/gui_fixture.h"

#include <QApplication>
#include <QFile>
#include <QTest>

#include "diskfs/disk_image_doc.h"
#include "diskfs/floppy_listing.h"
#include "diskfs/kelvo_volume.h"
#include "filetypes/file_names.h"
#include "gui/windows/child_frame_window.h"
#include "gui/windows/disk_image_window.h"
#include "gui/windows/floppy_window.h"
#include "gui/windows/pc_explorer_window.h"
#include "support/floppy_media.h"
#include "support/viewer_font_builder.h"
#include "tape/tape_open.h"
#include "viewers/image_doc.h"

namespace kelvo::gui::test {

Shell::Shell(std::vector<PresentDevice> devices) {
  ctx.ui = &ui;
  // The program makes its tape buttons from the bindings; the tests give the
  // buttons, so the bindings follow them.
  for (const PresentDevice& d : devices) {
    const int n = d.tape ? kelvo::TapeDriveNumber(d.name.toStdString()) : -1;
    if (n >= 0) ctx.app.Bindings.tape[n] = d.device.toStdString();
  }
  frame = std::make_unique<CMainFrame>(ctx, std::move(devices));
}

CPcExplorerWindow* Shell::Start(const QString& folder) {
  ctx.settings.StartupDirectory = folder.toStdString();
  CPcExplorerWindow* pc = frame->Windows().OpenPcExplorer();
  frame->show();
  QApplication::setActiveWindow(frame.get());
  return QTest::qWaitForWindowExposed(frame.get()) ? pc : nullptr;
}

KdiskRun::KdiskRun(const QString& ini) : store(ini.toStdString()) { ctx.ui = &ui; }

bool KdiskRun::Start(const QString& root, const CommandLine& cmd, bool warn,
                     const QString& recently_used_xbel) {
  kelvo::StartupOptions o;
  o.trace_log_path = QDir(root).filePath("kdisk32.log").toStdString();
  o.system_root = root.toStdString();
  o.warn_missing_floppy_driver = warn;
  frame = StartKdisk(ctx, store, cmd, o, recently_used_xbel);
  return frame != nullptr;
}

CDiskImageWindow* OpenImage(Shell& shell, const QString& path) {
  return shell.frame->OpenDocument(path) ? ActiveChild<CDiskImageWindow>(*shell.frame) : nullptr;
}

QString WriteFile(const QString& folder, const QString& name, const QByteArray& bytes) {
  const QString path = QDir(folder).filePath(name);
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
  return path;
}

void MakeFiles(const QString& folder, const QStringList& names, int size) {
  for (const QString& n : names) WriteFile(folder, n, QByteArray(size, 'x'));
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<QMimeData> DragFrom(CChildFrameWindow* from, const QStringList& names) {
  from->ListView()->SelectNames(names);
  return std::unique_ptr<QMimeData>(from->ListView()->make_drag_data());
}

QStringList Names(const CChildFrameWindow* window) {
  QStringList out;
  for (const FileRow& r : window->Model()->Rows()) out << r.name;
  return out;
}

QStringList Sorted(QStringList names) {
  names.sort();
  return names;
}

bool MakeImage(const QString& path, const std::vector<ImageFile>& files) {
  CDiskImageDoc doc;
  if (doc.OnNewDocument("TEST DISK") != 0) return false;
  CKelvoVolume volume(doc);
  for (const ImageFile& f : files) {
    std::vector<std::uint8_t> data(static_cast<size_t>(f.blocks) * 512, 0x41);
    NewFile nf;
    nf.first = f.first;
    nf.second = f.second;
    nf.type = f.type;
    nf.words.block_count = static_cast<std::uint32_t>(f.blocks);
    nf.data = data;
    if (volume.StoreNewFile(nf) != 0) return false;
  }
  return doc.OnSaveDocument(QFile::encodeName(path).toStdString()) == 0;
}


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

std::string BlockImageFile(int dots, int lines, int ink_dots, int ink_lines,
                           kelvo::test::ImageFileSpec header) {
  const int rounded = RoundedImageDots(dots);
  kelvo::test::RasterEncoder enc(rounded);
  for (int y = 0; y < lines; ++y) {
    std::vector<std::uint8_t> line(static_cast<std::size_t>(rounded / 8), 0);
    if (y < ink_lines)
      for (int x = 0; x < ink_dots; ++x) line[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    enc.Line(line, y % 4);
  }
  enc.End();
  header.dots = dots;
  header.scan_lines = lines;
  header.raster = enc.Bytes();
  return kelvo::test::BuildImageFile(header);
}

std::string FontWithA(char orientation) {
  kelvo::test::FontSpec spec = kelvo::test::DefaultFontSpec(20);
  spec.orientation = orientation;
  spec.inverse_landscape_height = 16;
  spec.glyphs.push_back(kelvo::test::SolidGlyph(65, 8, 2));
  return kelvo::test::BuildFont(spec);
}

}  // namespace kelvo::gui::test
